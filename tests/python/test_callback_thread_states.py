"""Python thread states of the library's threads: one per thread, kept
between its callbacks, gone with the thread; links made and dropped in a
loop leave none behind."""

import ctypes
import gc
import threading
import time
import weakref

import marlek_link as ml
from support.links import connected_link
from support.recorder import Recorder

# Generous: CI is a loaded two-core machine.
WAIT_S = 60
CV_ROW_EVENTS = 5
Status = ml.MarlekLinkConnectionStatusEnum


def _api(name, *argtypes):
    function = getattr(ctypes.pythonapi, name)
    function.restype = ctypes.c_void_p
    function.argtypes = list(argtypes)
    return function


_interpreter = _api("PyInterpreterState_Get")
_first_state = _api("PyInterpreterState_ThreadHead", ctypes.c_void_p)
_next_state = _api("PyThreadState_Next", ctypes.c_void_p)


def thread_states():
    """How many thread states the interpreter has, whatever their thread."""
    count = 0
    state = _first_state(_interpreter())
    while state:
        count += 1
        state = _next_state(state)
    return count


def wait_for_thread_states(expected):
    deadline = time.monotonic() + WAIT_S
    while thread_states() != expected and time.monotonic() < deadline:
        time.sleep(0.01)
    return thread_states()


def test_callbacks_of_one_thread_share_its_thread_state(fake_workstation, testing):
    link = connected_link(fake_workstation)
    per_thread = threading.local()
    calls = Recorder()

    def on_rows(batch):
        per_thread.calls = getattr(per_thread, "calls", 0) + 1
        calls.add((threading.get_ident(), per_thread.calls))

    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(on_rows))
    assert not link.do_job(testing.cv_job())
    calls.wait_for(CV_ROW_EVENTS)
    states = thread_states()
    assert not link.do_job(testing.cv_job())
    both_jobs = calls.wait_for(2 * CV_ROW_EVENTS)
    # One thread delivers the events, and what it keeps in threading.local()
    # lasts from one callback to the next.
    assert len({thread for thread, _ in both_jobs}) == 1
    assert [count for _, count in both_jobs] == list(range(1, 2 * CV_ROW_EVENTS + 1))
    assert thread_states() == states
    link.disconnect()


def test_links_made_and_dropped_in_a_loop_leave_no_thread_state(fake_workstation, testing):
    before = thread_states()
    callables = []
    for round in range(40):
        statuses = Recorder()
        link = ml.MarlekLink(fake_workstation.host, fake_workstation.port)
        link.set_connection_status_callback(statuses.add)
        assert not link.connect()
        statuses.wait_until(lambda seen: Status.CONNECTED in seen)
        if round % 10 == 0:
            rows = Recorder()
            link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(rows.add))
            assert not link.do_job(testing.cv_job())
            rows.wait_for(CV_ROW_EVENTS)
            callables.append(weakref.ref(rows))
        callables.append(weakref.ref(statuses))
        del link
        gc.collect()
    del statuses, rows
    gc.collect()
    assert wait_for_thread_states(before) == before
    # The links let go of their callables too.
    assert [alive() for alive in callables if alive() is not None] == []


def test_links_dropped_inside_their_own_callback_leave_no_thread_state(fake_workstation):
    before = thread_states()
    # Few rounds: each waits for the loss of the connection to be noticed.
    for _ in range(4):
        holder = [connected_link(fake_workstation)]
        dropped = threading.Event()

        def on_status(status, holder=holder, dropped=dropped):
            if status is Status.DISCONNECTED and holder:
                holder.clear()
                dropped.set()

        holder[0].set_connection_status_callback(on_status)
        fake_workstation.command(do="drop")
        assert dropped.wait(WAIT_S)
    assert wait_for_thread_states(before) == before
