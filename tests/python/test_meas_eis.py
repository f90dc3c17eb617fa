"""Single-sine and galvanostatic impedance jobs: flat, record and dict
constructors, the record classes, parameter views and the requests."""

import gc
import pickle

import pytest

import marlek_link as ml
from marlek_link import meas
from meas_support import kinds, started_requests

DC = ml.DriftCorrection
ENTRY_KEYS = ["frequency", "amplitude", "pre_duration", "pre_waves", "meas_duration", "meas_waves"]
SWEEP = dict(bias=0.0, min_frequency=1, max_frequency=100000.0, start_frequency=1000.0,
             points_per_decade_upper=10, points_per_decade_lower=5, pre_duration=0.1, pre_waves=1,
             meas_duration=0.2, meas_waves=2, amplitude=0.01)
SWEEP_KINDS = {key: int if key.startswith("points") or key.endswith("waves") else float for key in SWEEP}
LIMITS = dict(minimum_current_amplitude=1e-6, maximum_current_amplitude=1)


def entry_dict(frequency):
    return dict(zip(ENTRY_KEYS, (frequency, 0.01, 0.1, 1, 0.2, 2)))


def entry(frequency):
    return meas.EisParametersFrequencyTableEntry(*entry_dict(frequency).values())


def entries_of(params):
    return [[getattr(e, key) for key in ENTRY_KEYS] for e in params.spectrum]


def test_generated_sweeps_request(fake_workstation):
    eis = meas.EisGenerateJob(*SWEEP.values())
    geis = meas.GeisVaGenerateJob(*SWEEP.values(), *LIMITS.values(), drift_correction=DC.DC_ONLY,
                                  meta_data={"cell": "7"})
    assert eis.parameters.drift_correction is DC.FULL
    assert [getattr(geis.parameters, key) for key in [*SWEEP, *LIMITS]] == [*SWEEP.values(), *LIMITS.values()]
    sent = started_requests(fake_workstation, eis, geis)

    assert sent[0]["type"] == "eis"
    parameters = sent[0]["parameters"]
    assert list(parameters) == ["bias", "frequency_range", "drift_correction"]
    sweep = {key: value for key, value in SWEEP.items() if key != "bias"}
    assert parameters["frequency_range"] == {"type": "generate", **sweep}
    assert list(parameters["frequency_range"]) == ["type", *sweep]
    assert kinds(parameters["frequency_range"]) == {"type": "generate", **{key: SWEEP_KINDS[key] for key in sweep}}
    assert (parameters["bias"], parameters["drift_correction"]) == (0.0, "FULL")

    assert sent[1]["type"] == "geis_va"
    parameters = sent[1]["parameters"]
    assert list(parameters) == ["bias", *LIMITS, "frequency_range", "drift_correction"]
    assert kinds(parameters)["maximum_current_amplitude"] is float
    assert parameters["drift_correction"] == "DC_ONLY"
    assert sent[1]["job_meta"] == {"cell": "7"}


@pytest.mark.parametrize("cls, extra", [(meas.EisGenerateJob, ()), (meas.GeisVaGenerateJob, (0.0, 1.0))])
@pytest.mark.parametrize("field, value", [
    ("points_per_decade_upper", 10.0), ("points_per_decade_lower", -1), ("pre_waves", None), ("meas_waves", "2"),
    ("bias", "0"), ("drift_correction", 0), ("drift_correction", None),
])
def test_sweep_arguments_that_fit_no_overload(cls, extra, field, value):
    arguments = dict(SWEEP, drift_correction=DC.OFF)
    arguments[field] = value
    values = list(arguments.values())
    with pytest.raises(TypeError):
        cls(*values[:11], *extra, values[11])


def test_unset_drift_correction_is_left_out(fake_workstation):
    job = meas.EisGenerateJob(*SWEEP.values())
    job.parameters.drift_correction = None
    assert job.parameters.drift_correction is None
    sent = started_requests(fake_workstation, job)
    assert "drift_correction" not in sent[0]["parameters"]


def test_table_constructors_agree(fake_workstation):
    frequencies = [1000.0, 100.0, 10.0]
    record = meas.EisParametersFrequencyTable(0.5, [entry(f) for f in frequencies], DC.OFF)
    jobs = [
        meas.EisFrequencyTableJob(0.5, [entry(f) for f in frequencies], DC.OFF, {"k": "v"}),
        meas.EisFrequencyTableJob(record, {"k": "v"}),
        meas.EisFrequencyTableJob(table={"bias": 0.5, "spectrum": [entry_dict(int(f)) for f in frequencies],
                                         "drift_correction": DC.OFF, "comment": "ignored"},
                                  meta_data={"k": "v"}),
    ]
    for job in jobs:
        assert entries_of(job.parameters) == [list(entry_dict(f).values()) for f in frequencies]
        assert job.parameters.drift_correction is DC.OFF
    sent = started_requests(fake_workstation, *jobs)
    assert sent[0] == sent[1] == sent[2]
    parameters = sent[0]["parameters"]
    assert list(parameters) == ["bias", "frequency_range", "drift_correction"]
    assert list(parameters["frequency_range"]) == ["type", "spectrum"]
    first = parameters["frequency_range"]["spectrum"][0]
    assert list(first) == ENTRY_KEYS
    assert kinds(first) == dict(zip(ENTRY_KEYS, (float, float, float, int, float, int)))
    assert sent[0]["job_meta"] == {"k": "v"}


def test_galvanostatic_table_constructors(fake_workstation):
    table = {"bias": 0.0, **LIMITS, "spectrum": [entry_dict(100)]}
    by_dict = meas.GeisVaFrequencyTableJob(table)
    record = meas.GeisVaParametersFrequencyTable(0.0, 1e-6, 1.0, [entry(100.0)])
    by_record = meas.GeisVaFrequencyTableJob(record)
    flat = meas.GeisVaFrequencyTableJob(0.0, 1e-6, 1, [entry(100.0)], meta_data={"a": "b"})
    for job in (by_dict, by_record, flat):
        assert job.parameters.drift_correction is DC.FULL
        assert job.parameters.maximum_current_amplitude == 1.0
    sent = started_requests(fake_workstation, by_dict, by_record, flat)
    assert sent[0] == sent[1]
    assert list(sent[0]["parameters"]) == ["bias", *LIMITS, "frequency_range", "drift_correction"]
    assert sent[0]["parameters"]["drift_correction"] == "FULL"
    assert sent[2]["job_meta"] == {"a": "b"}


@pytest.mark.parametrize("cls, table, missing", [
    (meas.EisFrequencyTableJob, {"spectrum": []}, "bias"),
    (meas.EisFrequencyTableJob, {"bias": 0.0}, "spectrum"),
    (meas.EisFrequencyTableJob, {"bias": 0.0, "spectrum": [{"frequency": 1.0}]}, "amplitude"),
    # The amplitudes are read before the spectrum.
    (meas.GeisVaFrequencyTableJob, {"bias": 0.0}, "minimum_current_amplitude"),
    (meas.GeisVaFrequencyTableJob, {"bias": 0.0, **LIMITS}, "spectrum"),
])
def test_dict_form_names_the_first_missing_key(cls, table, missing):
    with pytest.raises(KeyError) as raised:
        cls(table)
    assert raised.value.args == (missing,)


@pytest.mark.parametrize("table", [
    {"bias": "0", "spectrum": []},
    {"bias": 0.0, "spectrum": [dict(entry_dict(1.0), pre_waves=1.0)]},
    {"bias": 0.0, "spectrum": [dict(entry_dict(1.0), meas_waves=-2)]},
    {"bias": 0.0, "spectrum": [], "drift_correction": None},
    {"bias": 0.0, "spectrum": [], "drift_correction": "FULL"},
])
def test_dict_form_values_that_do_not_convert(table):
    with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
        meas.EisFrequencyTableJob(table)


def test_dict_form_items_and_defaults():
    pairs = [list(entry_dict(10).items())]
    job = meas.EisFrequencyTableJob({"bias": 1, "spectrum": pairs})
    assert entries_of(job.parameters) == [[10.0, 0.01, 0.1, 1, 0.2, 2]]
    assert job.parameters.bias == 1.0 and job.parameters.drift_correction is DC.FULL
    assert meas.EisFrequencyTableJob({"bias": 0.0, "spectrum": []}).parameters.spectrum == []
    with pytest.raises(TypeError):
        meas.EisFrequencyTableJob({"bias": 0.0, "spectrum": [3.0]})


@pytest.mark.parametrize("arguments", [
    (0.0, [entry_dict(1.0)]),
    (0.0, [None]),
    (0.0, entry(1.0)),
    (None,),
    (0.0, [entry(1.0)], None),
    (meas.EisFrequencyTableJob(0.0, []).parameters,),
    (meas.GeisVaParametersFrequencyTable(0.0, 0.0, 1.0, []),),
    ({"bias": 0.0, "spectrum": []}, "not a dict"),
])
def test_table_arguments_that_fit_no_overload(arguments):
    with pytest.raises(TypeError):
        meas.EisFrequencyTableJob(*arguments)


def test_meta_data_must_hold_text():
    with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
        meas.EisFrequencyTableJob({"bias": 0.0, "spectrum": []}, {"run": 3})
    with pytest.raises(RuntimeError):
        meas.EisGenerateJob(*SWEEP.values(), meta_data={"run": 3.0})


def test_record_classes_copy_in_and_out():
    record = meas.EisParametersFrequencyTable(0.0, [entry(1.0)])
    assert record.drift_correction is DC.FULL
    job = meas.EisFrequencyTableJob(record)
    record.bias = 3.0
    record.spectrum = []
    assert job.parameters.bias == 0.0 and len(job.parameters.spectrum) == 1

    # Items read from a list are copies: changing one changes nothing stored,
    # and replacing the list leaves an item read earlier intact.
    item = job.parameters.spectrum[0]
    item.frequency = 99.0
    job.parameters.spectrum = [entry(5.0), entry(6.0)]
    assert item.frequency == 99.0
    assert [e.frequency for e in job.parameters.spectrum] == [5.0, 6.0]

    shared = [entry(1.0), entry(2.0)]
    eis = meas.EisFrequencyTableJob(0.0, shared)
    geis = meas.GeisVaFrequencyTableJob(0.0, 0.0, 1.0, shared)
    shared[0].frequency = 50.0
    eis.parameters.spectrum = []
    assert [e.frequency for e in geis.parameters.spectrum] == [1.0, 2.0]

    with pytest.raises(TypeError):
        meas.EisParametersFrequencyTableEntry(1.0, 0.01, 0.1, 1.5, 0.2, 2)
    with pytest.raises(TypeError):
        pickle.dumps(record)
    assert meas.EisParametersFrequencyTableEntry.frequency.__doc__ == "\n    corresponding AC frequency\n"


def test_table_parameters_assignment():
    first = meas.EisFrequencyTableJob(1.0, [entry(1.0)], DC.DC_ONLY)
    second = meas.EisFrequencyTableJob(2.0, [])
    second.parameters = first.parameters
    first.parameters.bias = 7.0
    assert second.parameters.bias == 1.0 and second.parameters.drift_correction is DC.DC_ONLY
    assert entries_of(second.parameters) == [[1.0, 0.01, 0.1, 1, 0.2, 2]]
    for wrong in (meas.EisGenerateJob(*SWEEP.values()).parameters, meas.EisParametersFrequencyTable(0.0, []), None):
        with pytest.raises(TypeError):
            second.parameters = wrong
    view = second.parameters
    del first, second
    gc.collect()
    assert view.bias == 1.0 and len(view.spectrum) == 1
