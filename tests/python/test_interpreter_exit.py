"""A script that ends while a callback of a connected link is busy: the
interpreter exits cleanly, in a child interpreter, for every kind of
callback, many times over; no callback runs once finalization has begun."""

import pathlib
import subprocess
import sys
import textwrap
from concurrent.futures import ThreadPoolExecutor

import pytest

# Child interpreters at once per case: each run's exit meets the callback at
# another point.
RUNS = 6
# Generous: CI is a loaded two-core machine.
CHILD_TIMEOUT_S = 120

# argv: host, port, the factory of the handler (or "status" or "late"), the
# folder of the test helper module. The callback is busy for 0.2 s at each
# call; its first call lets the main thread's do_job return, so that the
# script ends while the callback sleeps and later events are still
# arriving. The status callback waits for the workstation's drop. "late"
# connects and runs a job after the module's exit hook, whose callbacks must
# then never run.
CHILD = textwrap.dedent(
    """
    import atexit, datetime, sys, threading, time

    host, port, kind, helpers = sys.argv[1:5]
    if kind == "late":
        # Registered before the module's own exit hook, so it runs after it.
        atexit.register(lambda: connect_late())
    sys.path.insert(0, helpers)
    import marlek_link as ml
    import _marlek_testing as testing

    busy = threading.Event()

    def callback(*args):
        if kind == "late":
            print("callback after the exit hook", file=sys.stderr, flush=True)
        if kind == "status" and args[0] is not ml.MarlekLinkConnectionStatusEnum.DISCONNECTED:
            return
        if sys.is_finalizing():
            print("callback while finalizing", file=sys.stderr, flush=True)
        if not busy.is_set():
            busy.set()
            link.cancel_pending_operations()
        time.sleep(0.2)

    def new_link():
        made = ml.MarlekLink(host, port)
        made.set_request_timeout(datetime.timedelta(seconds=10))
        return made

    def connect_late():
        global late_link
        late_link = new_link()
        late_link.set_connection_status_callback(callback)
        late_link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(callback))
        assert not late_link.connect()
        late_link.do_job(testing.cv_job())

    link = new_link()
    if kind == "status":
        link.set_connection_status_callback(callback)
        assert not link.connect()
        print("connected", flush=True)
        assert busy.wait(60)
    elif kind != "late":
        link.set_event_handler(getattr(ml.MarlekLinkEventHandler, kind)(callback))
        assert not link.connect()
        job = testing.eis_job() if "eis" in kind or "wave" in kind else testing.cv_job()
        link.do_job(job)
        assert busy.is_set()
    print("exiting", flush=True)
    """
)

CASES = [
    ("make_live_data_rows_event_handler", ()),
    ("make_live_data_header_event_handler", ()),
    ("make_job_status_update_event_handler", ()),
    ("make_live_data_row_eis_event_handler", ("--demo", "eis")),
    ("make_live_data_wave_event_handler", ("--demo", "eis")),
    ("status", ()),
    ("late", ()),
]


def run_child(server, kind, helpers):
    child = subprocess.Popen(
        [sys.executable, "-c", CHILD, server.host, server.port, kind, helpers],
        stdout=subprocess.PIPE,
        stderr=subprocess.PIPE,
        text=True,
    )
    if kind == "status":
        # The workstation drops the connection once the child is connected;
        # the callback then gets DISCONNECTED and sleeps in it.
        assert child.stdout.readline() == "connected\n"
        server.command(do="drop")
    try:
        out, err = child.communicate(timeout=CHILD_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        child.kill()
        out, err = child.communicate()
    return child.returncode, out, err


@pytest.mark.parametrize("kind, options", CASES, ids=[case[0] for case in CASES])
def test_exit_while_a_callback_is_busy(fake_workstation_with, testing, kind, options):
    helpers = str(pathlib.Path(testing.__file__).parent)
    # One workstation per child: a drop is for the latest connection.
    servers = [fake_workstation_with(*options) for _ in range(RUNS)]
    with ThreadPoolExecutor(RUNS) as pool:
        results = list(pool.map(run_child, servers, [kind] * RUNS, [helpers] * RUNS))
    for returncode, out, err in results:
        assert (returncode, out.splitlines()[-1:]) == (0, ["exiting"]), err
        assert "Fatal Python error" not in err and "callback" not in err, err
