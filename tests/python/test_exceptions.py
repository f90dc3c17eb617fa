"""MarlekLinkException and MarlekLinkExc: failures raised with the error
object attached, the suppression set, and its use from several threads."""

import threading

import pytest

import marlek_link as ml
from support.links import connected_link, free_port

Codes = ml.ErrorCodeEnum
Types = ml.ResourceTypeEnum
WAIT_S = 60


def test_exception_type():
    assert issubclass(ml.MarlekLinkException, Exception)
    assert ml.MarlekLinkException.__name__ == "MarlekLinkException"
    assert ml.MarlekLinkException.__doc__ == "Base class for all MarlekLink exceptions."
    assert issubclass(ml.MarlekLinkExc, ml.MarlekLink)


def test_failure_while_disconnected_raises_with_the_error():
    link = ml.MarlekLinkExc("127.0.0.1")
    for call in [
        link.get_workstation_info,
        link.get_settings,
        link.get_job_info_list,
        lambda: link.create_resource(Types.WAVE, "x"),
        lambda: link.retrieve_resource(ml.Resource.from_id(Types.WAVE, "res-1")),
        lambda: link.get_available_resources(Types.WAVE),
    ]:
        with pytest.raises(ml.MarlekLinkException) as raised:
            call()
        error = raised.value.error
        assert isinstance(error, ml.ErrorObject)
        assert error.get_error_code_enum() == Codes.CONNECTION_NOT_ESTABLISHED
        assert raised.value.args == (error.get_message_formatted(),)
        assert str(raised.value) == "no network connection has been established yet"

    # Neither of these raises.
    link.send_stop(ml.QueueStopModeEnum.QUEUE_STOP_MODE_FLUSH)
    assert not link.is_connected()


def test_suppression_set():
    link = ml.MarlekLinkExc("127.0.0.1", flags=0)
    assert link.is_do_job_exception_suppressed(Codes.STOP_CONDITION_TRIGGERED)
    assert link.is_do_job_exception_suppressed(Codes.STOPPED_MANUALLY)
    assert not link.is_do_job_exception_suppressed(Codes.CONNECTION_NOT_ESTABLISHED)

    link.suppress_do_job_exception(Codes.CONNECTION_NOT_ESTABLISHED)
    link.suppress_do_job_exception(Codes.CONNECTION_NOT_ESTABLISHED)
    link.enable_do_job_exception(Codes.CONNECTION_NOT_ESTABLISHED)
    assert not link.is_do_job_exception_suppressed(Codes.CONNECTION_NOT_ESTABLISHED)
    link.enable_do_job_exception(Codes.ID_NOT_FOUND)

    with pytest.raises(TypeError):
        link.suppress_do_job_exception(0x1000)
    with pytest.raises(TypeError):
        ml.MarlekLinkExc("127.0.0.1", flags=-1)


def test_do_job_raises_unless_suppressed(testing):
    link = ml.MarlekLinkExc("127.0.0.1")
    job = testing.cv_job()
    with pytest.raises(ml.MarlekLinkException) as raised:
        link.do_job(job)
    assert raised.value.error.get_error_code_enum() == Codes.CONNECTION_NOT_ESTABLISHED

    link.suppress_do_job_exception(Codes.CONNECTION_NOT_ESTABLISHED)
    error = link.do_job(job)
    assert error and error.get_error_code_enum() == Codes.CONNECTION_NOT_ESTABLISHED
    # Only do_job and its kin consult the set.
    with pytest.raises(ml.MarlekLinkException):
        link.get_job_info(job)


def test_connected_link_returns_values_and_raises_failures(fake_workstation):
    link = connected_link(fake_workstation, ml.MarlekLinkExc)
    try:
        assert isinstance(link.get_workstation_info(), ml.WorkstationInfo)
        resource = link.create_resource(Types.WAVE, "exc")
        assert not link.append_to_resource(resource, b"abc")
        assert link.retrieve_resource(resource) == b"abc"
        assert not link.delete_resource(resource)
        with pytest.raises(ml.MarlekLinkException) as raised:
            link.retrieve_resource(resource)
        assert raised.value.error.get_error_code_enum() == Codes.ID_NOT_FOUND
        assert link.is_connected()
    finally:
        link.disconnect()


def test_connect_failure_raises():
    link = ml.MarlekLinkExc("127.0.0.1", free_port())
    with pytest.raises(ml.MarlekLinkException) as raised:
        link.connect()
    assert raised.value.error


def test_suppression_set_shared_between_threads(testing):
    """Jobs read the set without the interpreter lock while other threads
    change it: every call either returns or raises, and each thread's own
    code ends as that thread left it."""
    link = ml.MarlekLinkExc("127.0.0.1")
    job = testing.cv_job()
    codes = [Codes.CONNECTION_NOT_ESTABLISHED, Codes.ID_NOT_FOUND, Codes.ALREADY_CONNECTED]
    start = threading.Barrier(len(codes) + 1)
    outcomes = {"returned": 0, "raised": 0}

    def toggle(code):
        start.wait(WAIT_S)
        for _ in range(2000):
            link.suppress_do_job_exception(code)
            link.enable_do_job_exception(code)
        link.suppress_do_job_exception(code)

    def run_jobs():
        start.wait(WAIT_S)
        for _ in range(500):
            try:
                link.do_job(job)
                outcomes["returned"] += 1
            except ml.MarlekLinkException:
                outcomes["raised"] += 1

    threads = [threading.Thread(target=toggle, args=(code,)) for code in codes]
    threads.append(threading.Thread(target=run_jobs))
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join(WAIT_S)
        assert not thread.is_alive()

    assert outcomes["returned"] + outcomes["raised"] == 500
    assert all(link.is_do_job_exception_suppressed(code) for code in codes)
    assert link.is_do_job_exception_suppressed(Codes.STOPPED_MANUALLY)
