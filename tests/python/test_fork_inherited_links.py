"""A child made by fork: the links it inherited from the parent refuse every
call at once and never block, disconnect() returns, and the exit hook leaves
them alone; links made in the child work and are closed at exit. The parent
is idle, streaming live data, or connecting and disconnecting on another
thread at the fork. The parent is a child interpreter of the test."""

import pathlib
import subprocess
import sys
import textwrap
from concurrent.futures import ThreadPoolExecutor

import pytest

RUNS = 4
# Generous: CI is a loaded two-core machine; a hang is what this catches.
FORKED_CHILD_TIMEOUT_S = 60
PARENT_TIMEOUT_S = 180

# argv: host, port, how to fork ("os.fork" or "multiprocessing"), what the
# parent does meanwhile ("idle", "streaming" or "connecting"), the folder of
# the test helper module. Prints the forked child's exit code.
PARENT = textwrap.dedent(
    """
    import datetime, gc, multiprocessing, os, sys, threading, time, traceback, warnings

    host, port, method, activity, helpers = sys.argv[1:6]
    sys.path.insert(0, helpers)
    warnings.simplefilter("ignore", DeprecationWarning)  # fork with threads running
    import marlek_link as ml
    import _marlek_testing as testing

    Codes = ml.ErrorCodeEnum
    Handler = ml.MarlekLinkEventHandler

    def new_link():
        made = ml.MarlekLink(host, port)
        made.set_request_timeout(datetime.timedelta(seconds=10))
        assert not made.connect()
        return made

    link = new_link()
    rows = threading.Event()
    handler = Handler.make_live_data_rows_event_handler(lambda batch: rows.set())
    link.set_event_handler(handler)
    link.set_connection_status_callback(lambda status: None)
    stop = threading.Event()
    busy = threading.Event()
    other = ml.MarlekLink(host, port)

    def stream():
        while not stop.is_set():
            link.do_job(testing.cv_job())

    def connect_and_disconnect():
        while not stop.is_set():
            other.connect()
            busy.set()
            other.disconnect()

    activities = {"streaming": stream, "connecting": connect_and_disconnect}
    worker = threading.Thread(target=activities.get(activity, busy.set))
    worker.start()
    assert busy.wait(60) if activity != "streaming" else rows.wait(60)

    def in_child():
        answer = link.get_workstation_status()
        assert isinstance(answer, ml.ErrorObject), answer
        assert answer.get_error_code_enum() is Codes.CONNECTION_NOT_ESTABLISHED, answer
        assert link.do_job(testing.cv_job())
        link.disconnect()
        assert not link.is_connected()
        assert link.connect()
        assert other.connect()
        other.disconnect()
        link.clear_event_handler(handler)
        link.set_event_handler(handler)
        fresh = new_link()
        fresh.set_event_handler(handler)
        fresh.set_connection_status_callback(lambda status: None)
        assert isinstance(fresh.get_workstation_status(), ml.WorkstationStatus)
        gc.collect()
        # Left open: the exit hook closes it.
        return fresh

    def in_multiprocessing_child():
        # multiprocessing ends its children without the exit hook.
        in_child().disconnect()

    if method == "os.fork":
        pid = os.fork()
        if pid == 0:
            try:
                kept = in_child()
            except BaseException:
                traceback.print_exc()
                sys.exit(1)
            sys.exit(0)
        deadline = time.monotonic() + FORKED_CHILD_TIMEOUT_S
        while (done := os.waitpid(pid, os.WNOHANG))[0] == 0 and time.monotonic() < deadline:
            time.sleep(0.05)
        if done[0] == 0:
            os.kill(pid, 9)
            os.waitpid(pid, 0)
            code = "hung"
        else:
            code = os.waitstatus_to_exitcode(done[1])
    else:
        child = multiprocessing.get_context("fork").Process(target=in_multiprocessing_child)
        child.start()
        child.join(FORKED_CHILD_TIMEOUT_S)
        if child.exitcode is None:
            child.kill()
            child.join()
            code = "hung"
        else:
            code = child.exitcode

    stop.set()
    link.cancel_pending_operations()
    worker.join()
    # The parent's links still work.
    assert isinstance(link.get_workstation_status(), ml.WorkstationStatus)
    link.disconnect()
    print("child", code, flush=True)
    """
).replace("FORKED_CHILD_TIMEOUT_S", str(FORKED_CHILD_TIMEOUT_S))

CASES = [(method, activity) for method in ("os.fork", "multiprocessing")
         for activity in ("idle", "streaming", "connecting")]


def run_parent(server, method, activity, helpers):
    parent = subprocess.run(
        [sys.executable, "-c", PARENT, server.host, server.port, method, activity, helpers],
        capture_output=True,
        text=True,
        timeout=PARENT_TIMEOUT_S,
    )
    return parent.returncode, parent.stdout, parent.stderr


@pytest.mark.parametrize("method, activity", CASES, ids=[f"{m}-{a}" for m, a in CASES])
def test_links_inherited_by_a_forked_child(fake_workstation, testing, method, activity):
    helpers = str(pathlib.Path(testing.__file__).parent)
    with ThreadPoolExecutor(RUNS) as pool:
        results = list(pool.map(run_parent, [fake_workstation] * RUNS, [method] * RUNS, [activity] * RUNS,
                                [helpers] * RUNS))
    for returncode, out, err in results:
        assert (returncode, out.splitlines()[-1:]) == (0, ["child 0"]), err
