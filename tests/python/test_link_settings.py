"""MarlekLink without a workstation: construction, settings, durations and
what every call answers while not connected."""

import datetime
import math

import pytest

import marlek_link as ml

CONNECTION_NOT_ESTABLISHED = ml.ErrorCodeEnum.CONNECTION_NOT_ESTABLISHED


def test_a_new_link_is_disconnected_and_touches_no_network():
    link = ml.MarlekLink("192.0.2.1")
    assert link.get_connection_status() is ml.MarlekLinkConnectionStatusEnum.DISCONNECTED
    assert link.is_connected() is False
    assert link.disconnect() is None
    assert link.cancel_pending_operations() is None
    assert ml.MarlekLink.get_supported_protocol_version() == 12
    assert isinstance(ml.MarlekLink.get_library_revision(), str)


@pytest.mark.parametrize(
    "args",
    [("h", 1994), ("h", "1994", -1), ("h", "1994", 2**32), ("h", "1994", 1.0), (None,)],
)
def test_constructor_refuses_what_does_not_convert(args):
    with pytest.raises(TypeError):
        ml.MarlekLink(*args)


# A text with a NUL would reach the network cut short at it: the port
# "1994\0x" would connect to 1994.
@pytest.mark.parametrize(
    "call",
    [
        lambda cls: cls("127.0.0.1\0evil"),
        lambda cls: cls("127.0.0.1", "1994\0x"),
        lambda cls: cls("h", http_user="user\0"),
        lambda cls: cls("h", http_password="\0secret"),
        lambda cls: cls("h").set_destination_host("h\0x", "1994"),
        lambda cls: cls("h").set_destination_host("h", "\0"),
        lambda cls: cls("h").set_http_authentication_info("a\0b", "pw"),
        lambda cls: cls("h").set_http_authentication_info("user", "p\0w"),
    ],
    ids=["hostname", "port", "http_user", "http_password", "set_hostname", "set_port", "set_user", "set_password"],
)
@pytest.mark.parametrize("cls", [ml.MarlekLink, ml.MarlekLinkExc], ids=["MarlekLink", "MarlekLinkExc"])
def test_connection_texts_with_a_nul_are_refused(cls, call):
    with pytest.raises(ValueError, match="NUL"):
        call(cls)


def test_flags():
    flags = ml.MarlekLinkConnectionFlags
    link = ml.MarlekLink("h", flags=flags.IGNORE_PROTOCOL_MISMATCH)
    assert link.test_flag(0) and link.test_flag(flags.IGNORE_PROTOCOL_MISMATCH)
    link.set_flag(0x1)
    link.set_flag(0x4)
    assert link.test_flag(0x5)
    link.clear_flag(0x4)
    assert not link.test_flag(0x5) and link.test_flag(0x1)
    link.clear_flag(0x8)
    assert link.test_flag(0x1)
    with pytest.raises(TypeError):
        link.set_flag(-1)


@pytest.mark.parametrize(
    "timeout",
    [datetime.timedelta(seconds=1, microseconds=999), 0.25, 0.0, datetime.timedelta(days=8)],
)
def test_request_timeouts_in_range(timeout):
    ml.MarlekLink("h").set_request_timeout(timeout)


@pytest.mark.parametrize("timeout", [5, None, "1", [1.0]])
def test_durations_of_the_wrong_type(timeout):
    link = ml.MarlekLink("h")
    with pytest.raises(TypeError):
        link.set_request_timeout(timeout)
    with pytest.raises(TypeError):
        link.id(timeout)


@pytest.mark.parametrize(
    "timeout",
    [
        math.inf,
        -math.inf,
        math.nan,
        1e300,
        datetime.timedelta.max,
        datetime.timedelta.min,
        -0.5,
        datetime.timedelta(days=9),  # beyond what the session counts in an int
    ],
)
def test_request_timeouts_out_of_range_are_refused(timeout):
    with pytest.raises(ValueError):
        ml.MarlekLink("h").set_request_timeout(timeout)


@pytest.mark.parametrize("timeout", [math.inf, math.nan, datetime.timedelta.max, 1e18, -1.0])
def test_id_timeouts_out_of_range_are_refused(timeout):
    with pytest.raises(ValueError):
        ml.MarlekLink("127.0.0.1", "9").id(timeout)


def test_calls_without_a_connection(testing):
    link = ml.MarlekLink("127.0.0.1", "9")
    job = testing.cv_job()
    error = link.do_job(job)
    assert error and error.get_error_code_enum() is CONNECTION_NOT_ESTABLISHED
    assert error.get_message_formatted() == "no network connection has been established yet"
    assert job.get_last_job_info().get_status_detail() is ml.JobStatusDetailEnum.NOT_CONNECTED
    assert not job.was_successful()
    for result in (
        link.get_job_info_list(),
        link.get_job_info(job),
        link.get_workstation_info(),
        link.get_workstation_status(),
        link.get_own_connection_info(),
        link.get_workstation_connection_list(),
        link.wait_for_job_to_finish(job),
        link.check_job_parameters(job),
        link.get_job_result_data(job),
    ):
        assert isinstance(result, ml.ErrorObject)
        assert result.get_error_code_enum() is CONNECTION_NOT_ESTABLISHED
    assert link.send_stop(ml.QueueStopModeEnum.QUEUE_STOP_MODE_FLUSH) is None
    with pytest.raises(TypeError):
        link.send_stop(0)
    with pytest.raises(TypeError):
        link.do_job("job")


def test_event_handler_factories():
    handler = ml.MarlekLinkEventHandler
    calls = []
    factories = [
        (handler.make_live_data_header_event_handler, "LIVE_DATA_HEADER"),
        (handler.make_live_data_header_eis_event_handler, "LIVE_DATA_HEADER_EIS"),
        (handler.make_live_data_rows_event_handler, "LIVE_DATA_ROWS"),
        (handler.make_live_data_row_eis_event_handler, "LIVE_DATA_ROW_EIS"),
        (handler.make_live_data_wave_event_handler, "LIVE_DATA_WAVES"),
        (handler.make_live_data_finished_event_handler, "LIVE_DATA_FINISHED"),
        (handler.make_job_done_event_handler, "JOB_DONE"),
        (handler.make_job_status_update_event_handler, "JOB_STATUS_UPDATE"),
        (handler.make_job_log_message_event_handler, "MESSAGE_FROM_JOB"),
        (handler.make_log_message_event_handler, "MESSAGE_FROM_SERVER"),
    ]
    for factory, event_type in factories:
        made = factory(lambda *args: calls.append(args))
        assert made.get_type() is ml.EventTypeEnum[event_type]
        for refused in (None, 1, "callback"):
            with pytest.raises(TypeError):
                factory(refused)
    assert calls == []
    with pytest.raises(TypeError):
        handler()


def test_registrations_refuse_none():
    link = ml.MarlekLink("h")
    with pytest.raises(TypeError):
        link.set_event_handler(None)
    with pytest.raises(TypeError):
        link.clear_event_handler(None)
    with pytest.raises(TypeError):
        link.set_connection_status_callback(1)
    handler = ml.MarlekLinkEventHandler.make_job_done_event_handler(lambda info: None)
    link.clear_event_handler(handler)
    link.set_event_handler(handler)
    link.set_event_handler(handler)
    link.clear_event_handler(handler)
    link.set_connection_status_callback(None)


def test_records_have_no_constructor():
    for cls in (ml.WorkstationInfo, ml.WorkstationStatus, ml.WebsocketConnectionInfo, ml.MarlekLinkEventHandler):
        with pytest.raises(TypeError):
            cls()
