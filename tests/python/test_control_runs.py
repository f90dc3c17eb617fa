"""The control jobs against the fake workstation: the request each sends and
the result each reads back."""

import pytest

import marlek_link as ml
from marlek_link import control as c
from job_runs import run_jobs

POT = ml.PotentiostatCoupling

# job, the "type" and "parameters" it sends
REQUESTS = [
    (lambda: c.GetHardwareInfoJob(), "get_hardware_info", {}),
    (lambda: c.GetPotentiostatStateJob("MAIN:1:POT"), "get_potentiostat_state", {"potentiostat": "MAIN:1:POT"}),
    (lambda: c.GetAdcStateJob("ZMU:1:ZMU_U"), "get_adc_state", {"adc": "ZMU:1:ZMU_U"}),
    (lambda: c.GetHardwareSettingsJob(), "get_hardware_settings", {}),
    (lambda: c.ReenumerateHardwareJob(), "reenumerate_hardware", {}),
    (lambda: c.SetFirmwareUpdateJob("res-1"), "set_firmware_update", {"resource_id": "res-1"}),
    (lambda: c.RebootJob(), "reboot", {}),
    (lambda: c.SetHardwareSettingsJob([], [], ["MAIN:1:POT"]), "set_hardware_settings",
     {"output_potentiostats": [{"uri": "MAIN:1:POT", "potentiostatic_polynomial": [0.0, 1.0],
                                "galvanostatic_polynomial": [0.0, 1.0]}],
      "channels": [], "impedance_configurations": []}),
    (lambda: c.SetLedColorJob(0x123456), "set_led_color", {"red": 18, "green": 52, "blue": 86}),
    (lambda: c.SwitchOnJob("MAIN:1:POT", POT.GALVANOSTATIC, 1e-3, 2), "switch_on",
     {"potentiostat": "MAIN:1:POT", "coupling": "GALVANOSTATIC", "bias": 1e-3, "voltage_range_index": 2,
      "compliance_range_index": 0}),
    (lambda: c.SwitchOnQuickJob("MAIN:1:POT", POT.FRA_PROBE, 0.5), "switch_on_quick",
     {"potentiostat": "MAIN:1:POT", "coupling": "FRA_PROBE", "bias": 0.5, "voltage_range_index": 0,
      "compliance_range_index": 0}),
    (lambda: c.SwitchOffJob("MAIN:1:POT"), "switch_off", {"potentiostat": "MAIN:1:POT"}),
    (lambda: c.SwitchAllOffJob(), "switch_all_off", {}),
    (lambda: c.SetActiveCurrentRangesJob("MAIN:1:POT", [0, 2]), "set_active_current_ranges",
     {"potentiostat": "MAIN:1:POT", "indexes": [0, 2]}),
    (lambda: c.SetVoltageRangeJob("MAIN:1:POT", 1), "set_voltage_range", {"potentiostat": "MAIN:1:POT", "index": 1}),
    (lambda: c.SetActiveGainsJob("MAIN:1:ADC"), "set_active_gains", {"adc": "MAIN:1:ADC", "indexes": []}),
    (lambda: c.SetBiasJob("MAIN:1:POT", 1.5), "set_bias", {"potentiostat": "MAIN:1:POT", "bias": 1.5}),
    (lambda: c.SetCableOptionsJob("MAIN:1:POT", 105e-12), "set_cable_options",
     {"potentiostat": "MAIN:1:POT", "additional_ce_capacitance": 105e-12}),
    (lambda: c.MeasureIntegralJob("MAIN:1:POT:U"), "measure_integral", {"channel": "MAIN:1:POT:U", "duration": 0.3}),
    (lambda: c.BeepJob(1000.0, 0.5), "beep", {"frequency": 1000.0, "duration": 0.5}),
    (lambda: c.SleepJob(2.0), "sleep", {"duration": 2.0}),
    (lambda: c.InitializeRtcJob(), "initialize_rtc", {}),
    (lambda: c.SetHardwarePropertyJob("MUX16:1", "MUX_CHANNEL", 3), "set_hardware_property",
     {"uri": "MUX16:1", "key": "MUX_CHANNEL", "value": 3}),
    (lambda: c.SetHardwarePropertyJob("DIO:1", "DIGITAL_OUT", 2**40), "set_hardware_property",
     {"uri": "DIO:1", "key": "DIGITAL_OUT", "value": float(2**40)}),
    (lambda: c.SetHardwarePropertyJob("DIO:1", "DIGITAL_OUT", True), "set_hardware_property",
     {"uri": "DIO:1", "key": "DIGITAL_OUT", "value": True}),
    (lambda: c.GetHardwarePropertyJob("DIO:1", "DIGITAL_OUT"), "get_hardware_property",
     {"uri": "DIO:1", "key": "DIGITAL_OUT"}),
    (lambda: c.SetDateTimeJob("2025-01-01T00:00:00"), "set_date_time", {"datetime": "2025-01-01T00:00:00"}),
    (lambda: c.GetDateTimeJob(), "get_date_time", {}),
]


def kinds(value):
    """The value with its numbers as their Python types, so that 3 and 3.0
    and True differ."""
    if isinstance(value, dict):
        return {key: kinds(item) for key, item in value.items()}
    if isinstance(value, list):
        return [kinds(item) for item in value]
    return (type(value), value)


def test_every_job_sends_its_request_and_succeeds(fake_workstation):
    jobs = [make() for make, _, _ in REQUESTS]
    errors, requests = run_jobs(fake_workstation, *jobs)
    assert [str(error) for error in errors if error] == []
    assert all(job.was_successful() for job in jobs)
    assert [(request["type"], kinds(request["parameters"])) for request in requests] == \
        [(kind, kinds(parameters)) for _, kind, parameters in REQUESTS]


def test_query_results_after_a_run(fake_workstation):
    switch_on = c.SwitchOnJob("MAIN:1:POT", POT.POTENTIOSTATIC, 1.5)
    adc = c.GetAdcStateJob("ZMU:1:ZMU_U")
    prop = c.GetHardwarePropertyJob("MUX16:1", "MUX_CHANNEL")
    date = c.GetDateTimeJob()
    state = c.GetPotentiostatStateJob("MAIN:1:POT")
    info = c.GetHardwareInfoJob()
    settings = c.GetHardwareSettingsJob()
    integral = c.MeasureIntegralJob("MAIN:1:POT:U")
    errors, _ = run_jobs(fake_workstation, switch_on, adc, prop, date, state, info, settings, integral)
    assert not any(errors)

    first, second = switch_on.get_job_result(), switch_on.get_job_result()
    assert first is not second
    assert (first.applied_bias, first.voltage, first.current) == (1.5, 1.5, 0.0625)
    first.voltage = 0.0
    assert switch_on.get_job_result().voltage == 1.5

    assert adc.get_job_result().active_gain_indexes == [0, 1, 2]
    value = prop.get_job_result()
    assert type(value) is int and value == 3
    assert date.get_job_result() == "2025-01-01T00:00:00"

    read = state.get_job_result()
    assert (read.switched_on, read.coupling, read.bias, read.current_range_index,
            read.active_current_range_indexes, read.active_bandwidth_indexes) == \
        (True, POT.GALVANOSTATIC, 0.001, 3, [1, 2, 3], [0, 2])

    assert info.get_job_result().workstation.serial_number == "354531"
    hardware = settings.get_job_result()
    assert [channel.uri for channel in hardware.sync_channels] == ["MAIN:1:POT:U~ZMU:1:ZMU_U",
                                                                   "MAIN:1:POT:I~ZMU:1:ZMU_I"]
    assert [potentiostat.uri for potentiostat in hardware.output_potentiostats] == ["MAIN:1:POT"]
    assert integral.get_job_result() == 0.125


def test_a_view_change_reaches_the_next_request(fake_workstation):
    job = c.SwitchOnJob("MAIN:1:POT", POT.POTENTIOSTATIC, 0.0)
    job.parameters.coupling = POT.GALVANOSTATIC
    _, (request,) = run_jobs(fake_workstation, job)
    assert request["parameters"]["coupling"] == "GALVANOSTATIC"
