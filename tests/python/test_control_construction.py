"""The classes of marlek_link.control: registration order, constructors,
parameter views, the hardware-property value and results before any run."""

import math

import pytest

import marlek_link as ml
from marlek_link import control as c

CONTROL_CLASSES = [
    "GetHardwareInfoParametersPy", "GetHardwareInfoJob",
    "PotentiostatState", "GetPotentiostatStateParametersPy", "GetPotentiostatStateJob",
    "GetAdcStateParametersPy", "AdcStateInfo", "GetAdcStateJob",
    "GetHardwareSettingsParametersPy", "GetHardwareSettingsJob", "ReenumerateHardwareJob",
    "SetFirmwareUpdateParametersPy", "SetFirmwareUpdateJob", "RebootJob",
    "SetHardwareSettingsParametersPy", "SetHardwareSettingsJob", "SetLedColorParametersPy", "SetLedColorJob",
    "SwitchOnParametersPy", "SwitchOnQuickParametersPy", "SwitchOffParametersPy",
    "SwitchOnJob", "SwitchOnQuickJob", "SwitchOffJob", "SwitchAllOffJob",
    "SetActiveCurrentRangesParametersPy", "SetActiveCurrentRangesJob", "SetVoltageRangeParametersPy",
    "SetVoltageRangeJob", "SetActiveGainsParametersPy", "SetActiveGainsJob", "SetBiasParametersPy", "SetBiasJob",
    "SetCableOptionsParametersPy", "SetCableOptionsJob", "MeasureIntegralParametersPy", "MeasureIntegralJob",
    "BeepParametersPy", "BeepJob", "SleepParametersPy", "SleepJob", "InitializeRtcJob",
    "SetHardwarePropertyParametersPy", "SetHardwarePropertyJob", "GetHardwarePropertyParametersPy",
    "GetHardwarePropertyJob", "SetDateTimeParametersPy", "SetDateTimeJob", "GetDateTimeParametersPy",
    "GetDateTimeJob",
]

POT = ml.PotentiostatCoupling


def test_classes_in_registration_order():
    assert [name for name, value in vars(c).items() if isinstance(value, type)] == CONTROL_CLASSES


def test_every_job_derives_from_the_job_base():
    for name in CONTROL_CLASSES:
        if name.endswith("Job"):
            assert issubclass(getattr(c, name), ml.AbstractMeasurementJob), name


# class, positional arguments, keyword arguments, expected fields of `parameters`
CONSTRUCTIONS = [
    (c.GetAdcStateJob, ("ZMU:1:ZMU_U",), {}, {"adc": "ZMU:1:ZMU_U"}),
    (c.SetFirmwareUpdateJob, (), {"resource_id": "res-3"}, {"resource_id": "res-3"}),
    (c.SetLedColorJob, (18, 52, 86), {}, {"red": 18, "green": 52, "blue": 86}),
    (c.SetLedColorJob, (1193046,), {}, {"red": 18, "green": 52, "blue": 86}),
    (c.SetLedColorJob, (1193046 + 4278190080,), {}, {"red": 18, "green": 52, "blue": 86}),
    (c.SetLedColorJob, (0xFF0000,), {}, {"red": 255, "green": 0, "blue": 0}),
    (c.SetLedColorJob, (256,), {}, {"red": 0, "green": 1, "blue": 0}),
    (c.SetLedColorJob, (0xFF000000,), {}, {"red": 0, "green": 0, "blue": 0}),
    (c.SwitchOnJob, ("MAIN:1:POT", POT.POTENTIOSTATIC, 0.0), {},
     {"potentiostat": "MAIN:1:POT", "coupling": POT.POTENTIOSTATIC, "bias": 0.0, "voltage_range_index": 0,
      "compliance_range_index": 0}),
    (c.SwitchOnQuickJob, ("MAIN:1:POT", POT.GALVANOSTATIC, 1e-3), {"voltage_range_index": 2,
                                                                   "compliance_range_index": 1},
     {"potentiostat": "MAIN:1:POT", "coupling": POT.GALVANOSTATIC, "bias": 1e-3, "voltage_range_index": 2,
      "compliance_range_index": 1}),
    (c.SwitchOffJob, ("MAIN:1:POT",), {}, {"potentiostat": "MAIN:1:POT"}),
    (c.SetActiveCurrentRangesJob, ("MAIN:1:POT", [0, 2]), {}, {"potentiostat": "MAIN:1:POT", "indexes": [0, 2]}),
    (c.SetActiveCurrentRangesJob, ("MAIN:1:POT",), {}, {"potentiostat": "MAIN:1:POT", "indexes": []}),
    (c.SetVoltageRangeJob, ("MAIN:1:POT", 3), {}, {"potentiostat": "MAIN:1:POT", "index": 3}),
    (c.SetActiveGainsJob, ("MAIN:1:ADC",), {}, {"adc": "MAIN:1:ADC", "indexes": []}),
    (c.SetBiasJob, ("MAIN:1:POT", 1), {}, {"potentiostat": "MAIN:1:POT", "bias": 1.0}),
    (c.SetCableOptionsJob, ("MAIN:1:POT", 105e-12), {},
     {"potentiostat": "MAIN:1:POT", "additional_ce_capacitance": 105e-12}),
    (c.MeasureIntegralJob, ("MAIN:1:POT:U",), {}, {"channel": "MAIN:1:POT:U", "duration": 0.3}),
    (c.MeasureIntegralJob, (), {"channel": "voltage", "duration": 2}, {"channel": "voltage", "duration": 2.0}),
    (c.BeepJob, (1000.0, 0.5), {}, {"frequency": 1000.0, "duration": 0.5}),
    (c.SleepJob, (), {"duration": 2.0}, {"duration": 2.0}),
    (c.SetHardwarePropertyJob, ("DIO:1", "DIGITAL_OUT", True), {}, {"uri": "DIO:1", "key": "DIGITAL_OUT",
                                                                     "value": True}),
    (c.GetHardwarePropertyJob, ("DIO:1", "DIGITAL_OUT"), {}, {"uri": "DIO:1", "key": "DIGITAL_OUT"}),
    (c.GetPotentiostatStateJob, (), {"potentiostat": "MAIN:1:POT"}, {"potentiostat": "MAIN:1:POT"}),
    (c.SetDateTimeJob, ("2025-01-01T00:00:00",), {}, {"datetime": "2025-01-01T00:00:00"}),
]


@pytest.mark.parametrize("cls, args, kwargs, fields", CONSTRUCTIONS,
                         ids=[f"{row[0].__name__}-{i}" for i, row in enumerate(CONSTRUCTIONS)])
def test_constructors_fill_the_parameters(cls, args, kwargs, fields):
    parameters = cls(*args, **kwargs).parameters
    assert type(parameters).__name__ == cls.__name__.replace("Job", "ParametersPy")
    assert {name: getattr(parameters, name) for name in fields} == fields
    for name, value in fields.items():
        assert type(getattr(parameters, name)) is type(value), name


REFUSED = [
    (c.SetLedColorJob, (256, 0, 0)),
    (c.SetLedColorJob, (-1,)),
    (c.SetLedColorJob, (2**32,)),
    (c.SetLedColorJob, (1.0, 2, 3)),
    (c.SwitchOnJob, ("MAIN:1:POT", 1, 0.0)),
    (c.SwitchOnJob, ("MAIN:1:POT", None, 0.0)),
    (c.SwitchOnJob, ("MAIN:1:POT", POT.POTENTIOSTATIC, 0.0, -1)),
    (c.SwitchOnJob, ("MAIN:1:POT", POT.POTENTIOSTATIC, 0.0, 1.0)),
    (c.SwitchOnJob, ("MAIN:1:POT", POT.POTENTIOSTATIC)),
    (c.SwitchAllOffJob, ("MAIN:1:POT",)),
    (c.GetHardwareInfoJob, (1,)),
    (c.GetAdcStateJob, ()),
    (c.GetPotentiostatStateJob, (None,)),
    (c.SetVoltageRangeJob, ("MAIN:1:POT", -1)),
    (c.SetActiveGainsJob, ("MAIN:1:ADC", [1, -2])),
    (c.SetActiveCurrentRangesJob, ("MAIN:1:POT", [0.5])),
    (c.SetHardwarePropertyJob, ("DIO:1", "DIGITAL_OUT", None)),
    (c.SetHardwarePropertyJob, ("DIO:1", "DIGITAL_OUT", [1])),
    (c.SetHardwareSettingsJob, ([], [], ["MAIN:1:POT", ml.PotentiostatConfiguration("MAIN:2:POT")])),
    (c.SetHardwareSettingsJob, (["MAIN:1:POT:U"], [], [])),
    (c.SetHardwareSettingsJob, (object(),)),
]


@pytest.mark.parametrize("cls, args", REFUSED, ids=[f"{row[0].__name__}-{i}" for i, row in enumerate(REFUSED)])
def test_arguments_that_fit_no_constructor(cls, args):
    with pytest.raises(TypeError):
        cls(*args)


@pytest.mark.parametrize("cls", [c.ReenumerateHardwareJob, c.RebootJob, c.InitializeRtcJob, c.SwitchAllOffJob])
def test_jobs_without_parameters_have_no_view(cls):
    job = cls()
    with pytest.raises(AttributeError):
        job.parameters


@pytest.mark.parametrize("cls", [c.GetHardwareInfoJob, c.GetHardwareSettingsJob, c.GetDateTimeJob])
def test_parameterless_queries_have_an_empty_view_of_their_own(cls):
    parameters = cls().parameters
    assert type(parameters).__name__ == cls.__name__.replace("Job", "ParametersPy")
    assert not [name for name in dir(parameters) if not name.startswith("_")]
    cls().parameters = parameters
    with pytest.raises(TypeError):
        cls().parameters = c.GetHardwareInfoJob().parameters if cls is not c.GetHardwareInfoJob \
            else c.GetDateTimeJob().parameters


@pytest.mark.parametrize("name", [n for n in CONTROL_CLASSES if n.endswith("ParametersPy")])
def test_parameter_classes_cannot_be_made(name):
    with pytest.raises(TypeError):
        getattr(c, name)()


def test_views_write_through_and_assignments_copy():
    first = c.SwitchOnJob("MAIN:1:POT", POT.POTENTIOSTATIC, 0.0)
    view = first.parameters
    view.coupling = POT.GALVANOSTATIC
    assert first.parameters.coupling is POT.GALVANOSTATIC
    with pytest.raises(TypeError):
        view.coupling = 1
    second = c.SwitchOnJob("XPC:1:EXT2:POT", POT.FRA_PROBE, 1.0)
    second.parameters = first.parameters
    view.bias = 2.5
    assert second.parameters.potentiostat == "MAIN:1:POT"
    assert second.parameters.bias == 0.0
    del first
    assert view.bias == 2.5


def test_list_properties_are_copies():
    job = c.SetActiveCurrentRangesJob("MAIN:1:POT")
    other = c.SetActiveCurrentRangesJob("MAIN:1:POT")
    job.parameters.indexes.append(4)
    assert job.parameters.indexes == []
    job.parameters.indexes = [0, 2]
    assert job.parameters.indexes == [0, 2]
    assert other.parameters.indexes == []


def test_led_components_are_bytes():
    parameters = c.SetLedColorJob(1, 2, 3).parameters
    with pytest.raises(TypeError):
        parameters.red = 256
    assert parameters.red == 1


def test_hardware_settings_from_uris():
    job = c.SetHardwareSettingsJob([], [], ["MAIN:1:POT"])
    (potentiostat,) = job.parameters.output_potentiostats
    assert potentiostat.uri == "MAIN:1:POT"
    assert potentiostat.potentiostatic_polynomial.coefficients == [0.0, 1.0]
    assert potentiostat.galvanostatic_polynomial.coefficients == [0.0, 1.0]


def sample_lists():
    channel = ml.Channel("MAIN:1:POT:U~ZMU:1:ZMU_U", "voltage", "V", ml.UserPolynomial([0.0, 1.0]))
    impedance = ml.ImpedanceConfiguration("MAIN:1:POT:U~ZMU:1:ZMU_U", "MAIN:1:POT:I~ZMU:1:ZMU_I", "cell")
    potentiostat = ml.PotentiostatConfiguration("MAIN:1:POT")
    return [channel], [impedance], [potentiostat]


def uris(parameters):
    return ([channel.uri for channel in parameters.channels],
            [impedance.impedance_name for impedance in parameters.impedance_configurations],
            [potentiostat.uri for potentiostat in parameters.output_potentiostats])


def test_hardware_settings_forms_agree():
    channels, impedances, potentiostats = sample_lists()
    from_lists = c.SetHardwareSettingsJob(channels, impedances, potentiostats)
    expected = (["MAIN:1:POT:U~ZMU:1:ZMU_U"], ["cell"], ["MAIN:1:POT"])
    assert uris(from_lists.parameters) == expected

    config = ml.UserHardwareSettings(channels, impedances, potentiostats)
    from_config = c.SetHardwareSettingsJob(config=config)
    config.channels = []
    assert uris(from_config.parameters) == expected

    # The parameters of another job: the documented way to repeat settings.
    copied = c.SetHardwareSettingsJob(from_lists.parameters)
    from_lists.parameters.channels = []
    assert uris(copied.parameters) == expected


def test_hardware_settings_lists_read_as_copies():
    channels, impedances, potentiostats = sample_lists()
    job = c.SetHardwareSettingsJob(channels, impedances, potentiostats)
    read = job.parameters.channels
    read.append(read[0])
    assert len(job.parameters.channels) == 1
    job.parameters.channels = read
    assert len(job.parameters.channels) == 2


# value given, type and value read back
VALUES = [
    (True, bool, True),
    (False, bool, False),
    (1, int, 1),
    (-2**31, int, -2**31),
    (2**31, float, 2.0**31),
    (2**40, float, 2.0**40),
    (1.5, float, 1.5),
    ("1", str, "1"),
]


def numpy_values():
    numpy = pytest.importorskip("numpy")
    return [(numpy.float32(0.5), float, 0.5), (numpy.bool_(True), bool, True), (numpy.int64(7), int, 7)]


@pytest.mark.parametrize("given, kind, expected", VALUES, ids=[repr(row[0]) for row in VALUES])
def test_hardware_property_value_conversion(given, kind, expected):
    job = c.SetHardwarePropertyJob("DIO:1", "DIGITAL_OUT", given)
    assert type(job.parameters.value) is kind
    assert job.parameters.value == expected
    job.parameters.value = given
    assert type(job.parameters.value) is kind


def test_hardware_property_value_conversion_from_numpy():
    for given, kind, expected in numpy_values():
        job = c.SetHardwarePropertyJob("DIO:1", "DIGITAL_OUT", given)
        assert type(job.parameters.value) is kind and job.parameters.value == expected
        job.parameters.value = given
        assert type(job.parameters.value) is kind


@pytest.mark.parametrize("given", [None, [1], 2**1100, b"1"])
def test_hardware_property_value_refused(given):
    job = c.SetHardwarePropertyJob("DIO:1", "DIGITAL_OUT", 3)
    with pytest.raises(TypeError):
        c.SetHardwarePropertyJob("DIO:1", "DIGITAL_OUT", given)
    with pytest.raises(TypeError):
        job.parameters.value = given
    assert job.parameters.value == 3


def test_results_before_any_run():
    info = c.GetHardwareInfoJob().get_job_result()
    assert isinstance(info, ml.HardwareInfo)
    assert info.paths == [] and info.potentiostats == [] and info.cards == []
    assert c.GetAdcStateJob("ZMU:1:ZMU_U").get_job_result().active_gain_indexes == []
    settings = c.GetHardwareSettingsJob().get_job_result()
    assert (settings.sync_channels, settings.impedance_configurations, settings.async_channels,
            settings.output_potentiostats) == ([], [], [], [])
    assert math.isnan(c.MeasureIntegralJob("MAIN:1:POT:U").get_job_result())
    assert c.GetHardwarePropertyJob("DIO:1", "DIGITAL_OUT").get_job_result() is False
    assert c.GetDateTimeJob().get_job_result() == ""
    switched = c.SwitchOnJob("MAIN:1:POT", POT.POTENTIOSTATIC, 0.0).get_job_result()
    assert (switched.applied_bias, switched.voltage, switched.current) == (0.0, 0.0, 0.0)
    state = c.GetPotentiostatStateJob("MAIN:1:POT").get_job_result()
    assert (state.switched_on, state.coupling, state.bias, state.voltage_range_index,
            state.active_bandwidth_indexes) == (False, POT.POTENTIOSTATIC, 0.0, 0, [])
    assert not hasattr(c.SwitchOnQuickJob, "get_job_result")


def test_results_are_new_objects():
    job = c.GetAdcStateJob("ZMU:1:ZMU_U")
    first = job.get_job_result()
    first.active_gain_indexes = [1]
    assert job.get_job_result().active_gain_indexes == []
    assert job.get_job_result() is not job.get_job_result()


def test_potentiostat_state_record():
    state = c.PotentiostatState()
    assert (state.switched_on, state.coupling, state.bias, state.voltage_range_index,
            state.active_bandwidth_indexes) == (False, POT.POTENTIOSTATIC, 0.0, 0, [])
    state.voltage_range_index = -1
    state.voltage_range_index = 2147483647
    with pytest.raises(TypeError):
        state.voltage_range_index = 2147483648
    assert state.voltage_range_index == 2147483647
    state.active_current_range_indexes.append(1)
    assert state.active_current_range_indexes == []
    with pytest.raises(TypeError):
        state.coupling = 1
    assert "feedback" in c.PotentiostatState.coupling.__doc__


def test_switch_on_info_has_no_constructor():
    with pytest.raises(TypeError):
        ml.SwitchOnInfo()
