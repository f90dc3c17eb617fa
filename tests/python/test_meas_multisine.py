"""Multisine impedance jobs: their optional fields, the harmonics table, the
dict forms and the requests."""

import pytest

import marlek_link as ml
from marlek_link import meas
from meas_support import kinds, started_requests

DC = ml.DriftCorrection
TABLE = dict(bias=0.0, pre_duration=0.0, pre_waves=1, meas_duration=0.0, meas_waves=3, amplitude=0.01,
             fundamental_frequency=0.1)
GENERATE = dict(bias=0.0, min_frequency=0.1, max_frequency=100000.0, start_frequency=1000.0,
                points_per_decade_upper=10, points_per_decade_lower=5, pre_duration=0.0, pre_waves=1,
                amplitude=0.01, meas_duration=0.0, meas_waves=3, multisine_pre_waves=0, multisine_meas_waves=1,
                multisine_decades=2, multisine_starting_harmonic=1)


def harmonic(number, weight=1.0):
    return meas.EisMultiSineTableEntry(number, weight)


def table_dict(**changes):
    return {**TABLE, "harmonics": [{"harmonic": 1, "weight": 1.0}, {"harmonic": 2, "weight": 0.5}], **changes}


def test_table_job_forms_set_both_optional_fields(fake_workstation):
    flat = meas.EisMultisineTableJob(*TABLE.values(), [harmonic(1), harmonic(2, 0.5)])
    by_dict = meas.EisMultisineTableJob(table_dict())
    record = meas.EisMultiSineTable(*TABLE.values(), [harmonic(1), harmonic(2, 0.5)])
    by_record = meas.EisMultisineTableJob(record)
    for job in (flat, by_dict, by_record):
        assert job.parameters.multisine_wave_in_result is False
        assert job.parameters.drift_correction is DC.FULL
        assert [(h.harmonic, h.weight) for h in job.parameters.harmonics] == [(1, 1.0), (2, 0.5)]
    sent = started_requests(fake_workstation, flat, by_dict, by_record)
    assert sent[0] == sent[1] == sent[2]
    parameters = sent[0]["parameters"]
    assert sent[0]["type"] == "eis_multisine_table"
    assert list(parameters) == ["bias", "frequency_range", "multisine_wave_in_result", "drift_correction"]
    assert (parameters["multisine_wave_in_result"], parameters["drift_correction"]) == (False, "FULL")
    frequency_range = parameters["frequency_range"]
    assert list(frequency_range) == ["type", "fundamental_frequency", "pre_duration", "pre_waves", "meas_duration",
                                     "meas_waves", "amplitude", "harmonics"]
    assert kinds(frequency_range["harmonics"]) == [{"harmonic": int, "weight": float}] * 2
    assert kinds(frequency_range)["pre_waves"] is int and kinds(frequency_range)["amplitude"] is float


def test_unset_optional_fields(fake_workstation):
    record = meas.EisMultiSineTable(*TABLE.values(), [], True, DC.OFF)
    record.drift_correction = None
    job = meas.EisMultisineTableJob(record)
    assert job.parameters.drift_correction is None
    assert job.parameters.multisine_wave_in_result is True
    other = meas.EisMultisineGenerateJob(GENERATE)
    other.parameters.multisine_wave_in_result = None
    sent = started_requests(fake_workstation, job, other)
    assert "drift_correction" not in sent[0]["parameters"]
    assert sent[0]["parameters"]["multisine_wave_in_result"] is True
    assert "multisine_wave_in_result" not in sent[1]["parameters"]
    assert sent[1]["parameters"]["drift_correction"] == "FULL"


def test_generated_job_forms(fake_workstation):
    flat = meas.EisMultisineGenerateJob(*GENERATE.values(), True, DC.DC_ONLY, {"a": "b"})
    by_dict = meas.EisMultisineGenerateJob(parameters=dict(GENERATE, multisine_wave_in_result=1,
                                                           drift_correction=DC.DC_ONLY), meta_data={"a": "b"})
    # Positional callers give the amplitude before meas_duration here.
    assert [getattr(flat.parameters, key) for key in GENERATE] == list(GENERATE.values())
    sent = started_requests(fake_workstation, flat, by_dict)
    assert sent[0] == sent[1]
    parameters = sent[0]["parameters"]
    assert sent[0]["type"] == "eis_multisine"
    assert parameters["frequency_range"] == {"type": "generate", **{k: v for k, v in GENERATE.items() if k != "bias"}}
    assert list(parameters["frequency_range"]) == ["type", *list(GENERATE)[1:]]
    assert (parameters["multisine_wave_in_result"], parameters["drift_correction"]) == (True, "DC_ONLY")
    assert meas.EisMultisineGenerateJob.__init__.__doc__.count("Intelligent multisine") == 2
    assert meas.EisMultisineParametersGeneratePy.multisine_decades.__doc__ == (
        "\n    number of decades covered by the multisine, counted up from min_frequency, 0 disables it\n")


def test_values_the_workstation_judges_are_accepted():
    job = meas.EisMultisineGenerateJob(dict(GENERATE, multisine_decades=7, multisine_starting_harmonic=4))
    assert (job.parameters.multisine_decades, job.parameters.multisine_starting_harmonic) == (7, 4)
    empty = meas.EisMultisineTableJob(table_dict(harmonics=[]))
    assert empty.parameters.harmonics == []
    pairs = meas.EisMultisineTableJob(table_dict(harmonics=[[("harmonic", 3), ("weight", 2)]]))
    assert [(h.harmonic, h.weight) for h in pairs.parameters.harmonics] == [(3, 2.0)]


@pytest.mark.parametrize("call, error", [
    (lambda: meas.EisMultisineTableJob(meas.EisMultisineTableJob(table_dict()).parameters), TypeError),
    (lambda: meas.EisMultisineTableJob(*TABLE.values(), [{"harmonic": 1, "weight": 1.0}]), TypeError),
    (lambda: meas.EisMultiSineTable(*TABLE.values(), [{"harmonic": 1, "weight": 1.0}]), TypeError),
    (lambda: meas.EisMultiSineTableEntry(1.0, 1.0), TypeError),
    (lambda: meas.EisMultisineGenerateJob(GENERATE, {"run": 1}), RuntimeError),
    (lambda: meas.EisMultisineTableJob(table_dict(harmonics=[{"harmonic": 1.5, "weight": 1.0}])), RuntimeError),
    (lambda: meas.EisMultisineGenerateJob({k: v for k, v in GENERATE.items() if k != "meas_waves"}), KeyError),
    (lambda: meas.EisMultiSineTablePy(), TypeError),
])
def test_refused_arguments(call, error):
    with pytest.raises(error):
        call()


def test_generated_parameters_assignment():
    first = meas.EisMultisineGenerateJob(*GENERATE.values())
    second = meas.EisMultisineGenerateJob(dict(GENERATE, bias=1.0, multisine_decades=0))
    second.parameters = first.parameters
    assert [getattr(second.parameters, key) for key in GENERATE] == list(GENERATE.values())
    with pytest.raises(TypeError):
        second.parameters = meas.EisMultisineTableJob(table_dict()).parameters
