"""Re-creating the job that produced a dataset: the new job sends the
parameters and the metadata recorded in the dataset's job information."""

import json

import pytest

import marlek_link as ml
from dataset_helpers import dc_header, eis_header
from meas_support import started_requests

DC_KINDS = {"cv": "CvJob", "ocv": "OcvJob", "dpv": "DpvJob", "npv": "NpvJob", "swv": "SwvJob", "poga": "PogaJob",
            "ramp": "RampJob", "wave": "WaveJob", "wave_file": "WaveFileJob", "fast_cycling": "FastCyclingJob",
            "steady_stairs": "SteadyStairsJob"}
AC_KINDS = {"eis": "EisGenerateJob", "eis_table": "EisFrequencyTableJob",
            "eis_multisine_table": "EisMultisineTableJob", "eis_multisine": "EisMultisineGenerateJob",
            "geis_va": "GeisVaGenerateJob", "geis_va_table": "GeisVaFrequencyTableJob"}


def distinct(value, counter):
    """The value with every number replaced by a new one, so that a job that
    ignored the recorded parameters would send something else."""
    if isinstance(value, dict):
        return {key: distinct(item, counter) for key, item in value.items()}
    if isinstance(value, list):
        return [distinct(item, counter) for item in value]
    if isinstance(value, (int, float)) and not isinstance(value, bool):
        counter[0] += 1
        return type(value)(counter[0]) + (0.5 if isinstance(value, float) else 0)
    return value


def dataset_of(testing, job_type, parameters, kind):
    info = {"job_id": "job-9", "status": "FINISHED", "type": job_type, "job_meta": {"sample": "A1"}}
    if parameters is not None:
        info["parameters"] = parameters
    if kind == "dc":
        return testing.dc_dataset(dc_header("time"), [[0.0]], json.dumps(info))
    return testing.eis_dataset_from_binary(b"", eis_header(), 0, json.dumps(info))


@pytest.mark.parametrize("job_type, kind", [(t, "dc") for t in DC_KINDS] + [(t, "ac") for t in AC_KINDS])
def test_recreated_job_sends_the_recorded_parameters(fake_workstation, testing, job_type, kind):
    original = started_requests(fake_workstation, testing.default_job(job_type))[0]
    parameters = distinct(original["parameters"], [0])
    ds = dataset_of(testing, job_type, parameters, kind)

    job = ds.recreate_original_job()
    assert type(job).__name__ == {**DC_KINDS, **AC_KINDS}[job_type]
    assert type(job) is getattr(ml.meas, type(job).__name__)
    sent = started_requests(fake_workstation, job)[-1]
    assert sent["type"] == job_type and sent["parameters"] == parameters
    assert sent.get("job_meta", {"sample": "A1"}) == {"sample": "A1"}


@pytest.mark.parametrize("kind, job_type, parameters_of", [
    ("dc", "ac_cv", None), ("dc", "CV", "cv"), ("dc", "cv", None), ("dc", "eis", "eis"), ("dc", "", None),
    ("ac", "cv", "cv"), ("ac", "EIS", "eis"), ("ac", "eis", None),
])
def test_unusable_job_information_gives_none(fake_workstation, testing, kind, job_type, parameters_of):
    parameters = None
    if parameters_of is not None:
        parameters = started_requests(fake_workstation, testing.default_job(parameters_of))[0]["parameters"]
    assert dataset_of(testing, job_type, parameters, kind).recreate_original_job() is None
