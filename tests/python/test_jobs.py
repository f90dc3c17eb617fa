"""JobOptions, JobInfo and the job base: a fresh job's state and the views
that write through to their owner."""

import json

import pytest

import marlek_link as ml


@pytest.mark.parametrize(
    "args, kwargs, expected",
    [
        ((), {}, (False, False)),
        ((True,), {}, (True, False)),
        ((), {"discard_result_data": True}, (False, True)),
        ((1, 0), {}, (True, False)),
        ((None, 2.0), {}, (False, True)),
    ],
)
def test_job_options_constructor(args, kwargs, expected):
    options = ml.JobOptions(*args, **kwargs)
    assert (options.bypass_queue, options.discard_result_data) == expected


def test_job_options_refuse_text():
    with pytest.raises(TypeError):
        ml.JobOptions("yes")
    options = ml.JobOptions()
    with pytest.raises(TypeError):
        options.bypass_queue = "yes"
    assert options.bypass_queue is False


def test_fresh_job_state(testing):
    job = testing.cv_job()
    assert isinstance(job, ml.AbstractMeasurementJob)
    assert job.was_successful() is False
    assert job.get_last_job_status() is ml.JobStatusEnum.UNKNOWN
    assert job.get_last_job_error_message() == "no error occoured"
    info = job.get_last_job_info()
    assert info.get_status_detail() is ml.JobStatusDetailEnum.FAILED_TO_CREATE
    assert info.get_status_detail_string() == "FAILED_TO_CREATE"
    assert info.get_error().is_none()
    assert info.get_error_message() == "no error occoured"
    assert (info.get_job_id(), info.get_creation_date(), info.get_user_metadata()) == ("", "", {})
    options = job.get_job_options()
    assert (options.bypass_queue, options.discard_result_data) == (False, False)


def test_job_option_views_write_through(testing):
    job = testing.cv_job()
    given = ml.JobOptions(True, False)
    job.set_job_options(given)
    given.discard_result_data = True
    assert (job.get_job_options().bypass_queue, job.get_job_options().discard_result_data) == (True, False)

    view = job.get_job_options()
    view.discard_result_data = True
    assert job.get_job_options().discard_result_data is True

    with pytest.raises(TypeError):
        job.set_job_options(None)
    with pytest.raises(TypeError):
        job.set_job_options({"bypass_queue": True})


def test_views_keep_their_job_alive(testing):
    job = testing.cv_job()
    info = job.get_last_job_info()
    error = info.get_error()
    options = info.get_job_options()
    del job, info
    assert error.is_none()
    options.bypass_queue = True
    assert options.bypass_queue is True


def test_job_base_cannot_be_instantiated():
    with pytest.raises(TypeError):
        ml.AbstractMeasurementJob()

    class Own(ml.AbstractMeasurementJob):
        pass

    with pytest.raises(TypeError):
        Own()


def test_job_info_as_reported(testing):
    info = testing.job_info_from_json(json.dumps({
        "job_id": "job-0007",
        "status": "FINISHED",
        "status_detail": "RUN_TO_COMPLETION",
        "created": "2026-01-02T03:04:05.000006Z",
        "started": "",
        "job_meta": {"zeta": "1", "alpha": "2", "mid": "3"},
        "options": {"bypass_queue": True},
    }))
    assert info.get_job_id() == "job-0007"
    assert info.get_status() is ml.JobStatusEnum.FINISHED
    assert info.get_status_string() == "FINISHED"
    assert info.get_status_detail() is ml.JobStatusDetailEnum.RUN_TO_COMPLETION
    assert info.get_creation_date() == "2026-01-02T03:04:05.000006Z"
    assert (info.get_start_date(), info.get_end_date()) == ("", "")
    assert list(info.get_user_metadata().items()) == [("alpha", "2"), ("mid", "3"), ("zeta", "1")]
    assert info.get_job_options().bypass_queue is True
    assert info.get_job_options().discard_result_data is False

    info.get_job_options().discard_result_data = True
    assert info.get_job_options().discard_result_data is True
    with pytest.raises(TypeError):
        ml.JobInfo()


def test_job_info_error_that_does_not_fit_its_parameters(testing):
    info = testing.job_info_from_json(json.dumps({
        "job_id": "job-1",
        "status": "FAILED",
        "error": {"number": 0x4000, "code": "PARAMETER_MISSING", "message": "{2} missing",
                  "message_parameters": ["x"]},
    }))
    assert info.get_error_message() == "{2} missing"
    assert str(info.get_error()) == info.get_error_message()
