"""Wave jobs: values in the job or in an uploaded file, with stop conditions."""

import pytest

from marlek_link import meas
from marlek_link.meas import stop
from meas_support import kinds, started_requests

WAVE_KEYS = ["output_data_rate", "value_rate", "repetitions", "current_range", "values", "bias"]
FILE_KEYS = ["output_data_rate", "value_rate", "repetitions", "current_range", "resource_id", "bias"]


def test_requests_with_defaults_and_stop_conditions(fake_workstation):
    wave = meas.WaveJob(1000, 100.0, 2, 0.01, (0, 1, 2))
    assert wave.parameters.bias == 0.0 and wave.parameters.values == [0.0, 1.0, 2.0]
    limit = stop.MaxLimitStopCondition("current", 0.005)
    wave_file = meas.WaveFileJob(1000.0, 100.0, 0, 0.01, "res-1", 0.5, {"m": "n"}, [limit])
    sent = started_requests(fake_workstation, wave, wave_file)

    assert sent[0]["type"] == "wave"
    assert list(sent[0]["parameters"]) == WAVE_KEYS
    assert sent[0]["parameters"] == dict(zip(WAVE_KEYS, (1000.0, 100.0, 2, 0.01, [0.0, 1.0, 2.0], 0.0)))
    assert kinds(sent[0]["parameters"]) == dict(zip(WAVE_KEYS, (float, float, int, float, [float] * 3, float)))
    assert (sent[0]["stop_conditions"], sent[0]["job_meta"]) == ([], {})

    assert sent[1]["type"] == "wave_file"
    assert list(sent[1]["parameters"].items()) == list(zip(FILE_KEYS, (1000.0, 100.0, 0, 0.01, "res-1", 0.5)))
    assert sent[1]["stop_conditions"] == [{"type": "max",
                                           "parameters": {"for_dimension": "current", "maximum": 0.005}}]
    assert sent[1]["job_meta"] == {"m": "n"}


@pytest.mark.parametrize("arguments", [
    (1000.0, 100.0, -1, 0.01, [0.0]),
    (1000.0, 100.0, 1.0, 0.01, [0.0]),
    (1000.0, 100.0, 1, 0.01, [0.0, "1"]),
    (1000.0, 100.0, 1, 0.01, 0.0),
    (1000.0, 100.0, 1, 0.01, [0.0], None),
    (1000.0, 100.0, 1, 0.01, [0.0], 0.0, ["a"]),
])
def test_wave_arguments_that_fit_no_overload(arguments):
    with pytest.raises(TypeError):
        meas.WaveJob(*arguments)


def test_values_are_copied_both_ways():
    job = meas.WaveJob(1000.0, 100.0, 1, 0.01, [0.0, 1.0])
    values = job.parameters.values
    values.append(2.0)
    assert job.parameters.values == [0.0, 1.0]
    job.parameters.values = [5.0]
    assert job.parameters.values == [5.0]

    other = meas.WaveJob(1.0, 1.0, 3, 0.1, [], bias=-0.2)
    other.parameters = job.parameters
    job.parameters.values = []
    assert (other.parameters.values, other.parameters.repetitions, other.parameters.bias) == ([5.0], 1, 0.0)
    with pytest.raises(TypeError):
        other.parameters = meas.WaveFileJob(1.0, 1.0, 1, 0.1, "res-1").parameters
    with pytest.raises(TypeError):
        other.parameters.repetitions = -1
    assert other.parameters.repetitions == 1
