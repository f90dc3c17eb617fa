"""The request examples in the job docstrings are valid JSON and name only
fields the job's record has."""

import pytest

from marlek_link import meas
from marlek_link.meas import stop
from meas_support import json_examples


def leaf_keys(value):
    keys = set()
    if isinstance(value, dict):
        for key, item in value.items():
            if isinstance(item, (dict, list)):
                keys |= leaf_keys(item)
            if key not in ("type", "frequency_range"):
                keys.add(key)
    elif isinstance(value, list):
        for item in value:
            keys |= leaf_keys(item)
    return keys


def properties(cls):
    return {name for name, value in vars(cls).items() if isinstance(value, property)}


JOBS = [
    (meas.CvJob, "cv"), (meas.FastCyclingJob, "fast_cycling"), (meas.OcvJob, "ocv"), (meas.PogaJob, "poga"),
    (meas.RampJob, "ramp"), (meas.SteadyStairsJob, "steady_stairs"), (meas.DpvJob, "dpv"), (meas.NpvJob, "npv"),
    (meas.SwvJob, "swv"), (meas.WaveJob, "wave"), (meas.WaveFileJob, "wave_file"), (meas.EisGenerateJob, "eis"),
    (meas.EisFrequencyTableJob, "eis_table"), (meas.GeisVaGenerateJob, "geis_va"),
    (meas.GeisVaFrequencyTableJob, "geis_va_table"), (meas.EisMultisineTableJob, "eis_multisine_table"),
    (meas.EisMultisineGenerateJob, "eis_multisine"),
]
ENTRY_CLASSES = [meas.EisParametersFrequencyTableEntry, meas.EisMultiSineTableEntry]


@pytest.mark.parametrize("cls, name", JOBS, ids=[name for _, name in JOBS])
def test_request_examples_match_the_records(cls, name):
    examples = json_examples(cls.__init__.__doc__)
    assert len(examples) == 1
    request = examples[0]
    assert list(request) == ["do", "request_id", "job"]
    assert request["do"] == "/job/start"
    assert request["request_id"] == name.replace("_", "-") + "-job-uuid-example"
    assert list(request["job"]) == ["type", "parameters", "stop_conditions", "job_meta"]
    assert request["job"]["type"] == name
    parameter_class = getattr(meas, cls.parameters.__doc__.split("meas.")[1].rstrip("`"))
    known = properties(parameter_class).union(*(properties(entry) for entry in ENTRY_CLASSES))
    used = leaf_keys(request["job"]["parameters"])
    assert used <= known, used - known
    assert properties(parameter_class) - {"harmonics", "spectrum"} <= used


@pytest.mark.parametrize("cls", [
    stop.MinLimitStopCondition, stop.MaxLimitStopCondition, stop.MinMaxLimitStopCondition,
    stop.IntegratingLimitStopCondition, stop.StabilityToleranceLimitStopCondition, stop.InRangeStopCondition,
])
def test_stop_condition_examples_are_json(cls):
    (example,) = json_examples(cls.__init__.__doc__)
    assert list(example) == ["type", "parameters"]
    assert "for_dimension" in example["parameters"]
