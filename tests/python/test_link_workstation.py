"""MarlekLink against the fake workstation process: connecting, queries, a
cyclic voltammetry with Python callbacks, and the interpreter lock."""

import gc
import sys
import threading

import pytest

import marlek_link as ml
from support.links import connected_link, free_port
from support.recorder import Recorder

# Generous bounds: CI is a loaded two-core machine. Nothing here waits this
# long unless something is broken.
WAIT_S = 60
CV_ROWS = 41
CV_ROW_EVENTS = 5
Codes = ml.ErrorCodeEnum
Status = ml.MarlekLinkConnectionStatusEnum


def test_connect_refused_port():
    link = ml.MarlekLink("127.0.0.1", free_port())
    error = link.connect()
    assert error and error.get_error_code_enum() is Codes.CONNECTION_FAILED
    assert not link.is_connected()


@pytest.mark.parametrize(
    "options, kwargs, code",
    [
        (("--credentials", "lab:secret"), {}, Codes.UNAUTHORIZED),
        (("--credentials", "lab:secret"), {"http_user": "lab", "http_password": "wrong"}, Codes.UNAUTHORIZED),
        (("--upgrade-status", "409"), {}, Codes.PROTOCOL_VERSION_MISMATCH),
    ],
)
def test_connect_refused_by_the_workstation(fake_workstation_with, options, kwargs, code):
    server = fake_workstation_with(*options)
    link = ml.MarlekLink(server.host, server.port, **kwargs)
    error = link.connect()
    assert error.get_error_code_enum() is code
    assert link.get_connection_status() is Status.DISCONNECTED


def test_connect_with_credentials_and_query(fake_workstation_with):
    server = fake_workstation_with("--credentials", "lab:secret")
    link = connected_link(server, http_user="lab", http_password="secret")
    assert link.is_connected()
    again = link.connect()
    assert again and again.get_error_code_enum() is Codes.ALREADY_CONNECTED
    assert again.get_message_formatted() == "already connected"

    info = link.get_workstation_info()
    assert (info.protocol_version, info.serial_number, info.mode) == (12, "SN-1", ml.WorkstationModeEnum.NORMAL)
    with pytest.raises(AttributeError):
        info.serial_number = "other"
    status = link.get_workstation_status()
    assert (status.busy, status.uptime, status.last_dc_calibration) == (False, 1234, "never")
    own = link.get_own_connection_info()
    assert own.target == "/default" and own.using_tls is False
    connections = link.get_workstation_connection_list()
    assert isinstance(connections, list)
    jobs = link.get_job_info_list(True)
    assert isinstance(jobs, list)
    # This peer serves no HTTP "/id"; what counts is an answer within the bound.
    assert isinstance(link.id(2.5), (ml.WorkstationInfo, ml.ErrorObject))
    with pytest.raises(TypeError):
        link.id(5)
    link.disconnect()
    assert link.get_connection_status() is Status.DISCONNECTED


def test_cv_job_with_callbacks_while_the_main_thread_queries(fake_workstation, testing):
    link = connected_link(fake_workstation)
    rows, statuses, done = Recorder(), Recorder(), Recorder()
    handlers = [
        ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(lambda batch: rows.add(batch)),
        ml.MarlekLinkEventHandler.make_job_status_update_event_handler(lambda s, info: statuses.add((s, info))),
        ml.MarlekLinkEventHandler.make_job_done_event_handler(lambda info: done.add(info)),
    ]
    for handler in handlers:
        link.set_event_handler(handler)

    job = testing.cv_job()
    view = job.get_last_job_info()
    outcome = []
    worker = threading.Thread(target=lambda: outcome.append(link.do_job(job)))
    worker.start()
    queries = 0
    while worker.is_alive():
        status = link.get_workstation_status()
        assert isinstance(status, ml.WorkstationStatus), str(status)
        queries += 1
    worker.join(WAIT_S)

    assert outcome and not outcome[0], str(outcome)
    assert queries > 0
    batches = rows.wait_for(CV_ROW_EVENTS)
    flat = [row for batch in batches for row in batch]
    assert all(len(row) == 3 for row in flat)
    assert [row[0] for row in flat] == [0.5 * i for i in range(CV_ROWS)]
    new_status, info = statuses.wait_for(1)[0]
    assert new_status is ml.JobStatusEnum.RUNNING and info.get_job_id() == "job-0001"
    assert done.wait_for(1)[0].get_status() is ml.JobStatusEnum.FINISHED
    assert job.was_successful()
    assert view.get_status() is ml.JobStatusEnum.FINISHED and view.get_job_id() == "job-0001"
    link.disconnect()


def test_a_raising_callback_is_reported_once_per_raise_and_called_again(fake_workstation, testing, capfd):
    link = connected_link(fake_workstation)
    calls = Recorder()

    def explode(batch):
        calls.add(len(batch))
        raise RuntimeError("callback failure")

    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(explode))
    wrong_arity = Recorder()
    link.set_event_handler(
        ml.MarlekLinkEventHandler.make_job_done_event_handler(lambda: wrong_arity.add("never"))
    )
    # Python's own report, as a script without a hook of its own has it.
    hook, sys.unraisablehook = sys.unraisablehook, sys.__unraisablehook__
    try:
        assert not link.do_job(testing.cv_job())
        assert sum(calls.wait_for(CV_ROW_EVENTS)) == CV_ROWS
        assert isinstance(link.get_workstation_status(), ml.WorkstationStatus)
        # The connection's threads end here, and with them every report.
        link.disconnect()
    finally:
        sys.unraisablehook = hook
    assert wrong_arity.items == []
    out, err = capfd.readouterr()
    assert err.count("RuntimeError: callback failure") == CV_ROW_EVENTS
    assert "TypeError" in err and out == ""


def test_registrations_from_a_callback_take_effect_after_it(fake_workstation, testing):
    link = connected_link(fake_workstation)
    first, late = Recorder(), Recorder()
    late_handler = ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(lambda batch: late.add(len(batch)))

    def register_once(batch):
        first.add(len(batch))
        if len(first.items) == 1:
            link.set_event_handler(late_handler)
            link.clear_event_handler(first_handler)

    first_handler = ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(register_once)
    link.set_event_handler(first_handler)
    assert not link.do_job(testing.cv_job())
    # The late handler sees the batches the first one no longer does.
    assert len(first.items) + len(late.items) == CV_ROW_EVENTS
    assert len(first.items) >= 1 and len(late.items) >= 1
    link.disconnect()


def test_connect_from_the_status_callback_returns_an_error(fake_workstation):
    link = connected_link(fake_workstation)
    seen, answers = Recorder(), Recorder()

    def on_status(status):
        seen.add(status)
        if status is Status.DISCONNECTED:
            answer = link.connect()
            # Done before the owner's thread reconnects: a disconnect ends a
            # connect in progress.
            link.disconnect()
            answers.add(answer)

    link.set_connection_status_callback(on_status)
    fake_workstation.command(do="drop")
    seen.wait_until(lambda statuses: Status.DISCONNECTED in statuses)
    answer = answers.wait_for(1)[0]
    assert answer and answer.get_error_code_enum() is Codes.CONNECTION_FAILED
    # The owner's thread reconnects.
    assert not link.connect()
    assert link.is_connected()
    link.disconnect()


def test_dropping_a_connected_link(fake_workstation, testing):
    calls = Recorder()
    link = connected_link(fake_workstation)
    link.set_connection_status_callback(calls.add)
    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(calls.add))
    assert not link.do_job(testing.cv_job())
    del link
    gc.collect()
    # A second client connects to the same workstation afterwards.
    other = connected_link(fake_workstation)
    assert other.is_connected()
    del other


def test_the_interpreter_lock_is_free_during_do_job(fake_workstation, testing):
    link = connected_link(fake_workstation)
    ticks = [0]
    stop = threading.Event()

    def count():
        while not stop.is_set():
            ticks[0] += 1

    seen_at_batches = Recorder()
    link.set_event_handler(
        ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(lambda batch: seen_at_batches.add(ticks[0]))
    )
    counter = threading.Thread(target=count)
    counter.start()
    try:
        assert not link.do_job(testing.cv_job())
    finally:
        stop.set()
        counter.join(WAIT_S)
    seen = seen_at_batches.wait_for(CV_ROW_EVENTS)
    # Between the first and the last batch, while do_job waited, the counting
    # thread ran.
    assert seen[-1] > seen[0]
    link.disconnect()


@pytest.mark.parametrize("interrupt", ["disconnect", "cancel_pending_operations"])
def test_do_job_on_one_thread_interrupted_from_another(fake_workstation, testing, interrupt):
    link = connected_link(fake_workstation)
    first_rows = threading.Event()
    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(lambda b: first_rows.set()))
    job = testing.cv_job()
    outcome = []
    worker = threading.Thread(target=lambda: outcome.append(link.do_job(job)))
    worker.start()
    assert first_rows.wait(WAIT_S)
    getattr(link, interrupt)()
    worker.join(WAIT_S)
    assert not worker.is_alive()
    error = outcome[0]
    if error:
        assert error.get_error_code_enum() in (Codes.STOPPED_MANUALLY, Codes.CONNECTION_WAS_CLOSED,
                                               Codes.CONNECTION_BROKEN)
        assert not job.was_successful()
    link.disconnect()
    assert not link.connect()
    link.disconnect()


def test_a_link_dropped_inside_its_own_callback(fake_workstation):
    holder = [connected_link(fake_workstation)]
    dropped = threading.Event()

    def on_status(status):
        if status is Status.DISCONNECTED and holder:
            holder.clear()
            dropped.set()

    holder[0].set_connection_status_callback(on_status)
    fake_workstation.command(do="drop")
    assert dropped.wait(WAIT_S)
    other = connected_link(fake_workstation)
    assert isinstance(other.get_workstation_status(), ml.WorkstationStatus)
    other.disconnect()
