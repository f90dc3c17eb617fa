"""A child made by os.fork while another thread of the parent is coming
back from a blocking call: the child's own links get their live data, its
blocking calls on the main thread return and can be interrupted, and it
exits; nothing of the parent's threads is waited for there."""

import pathlib
import subprocess
import sys
import textwrap

from support.links import free_port

# Generous: CI is a loaded two-core machine.
# Each of the ten forked children is waited for at most 30 s.
CHILD_TIMEOUT_S = 400

# argv: host, port, a port where nothing listens, the folder of the test
# helper module. The parent's daemon threads return from blocking calls
# over and over, so that most forks meet one of them at the gate. Each forked child
# reports its exit code, or "hung" when it has not ended in time.
CHILD = textwrap.dedent(
    """
    import datetime, os, signal, sys, threading, time, warnings

    host, port, nowhere, helpers = sys.argv[1:5]
    warnings.simplefilter("ignore", DeprecationWarning)
    signal.signal(signal.SIGINT, signal.default_int_handler)
    sys.path.insert(0, helpers)
    import marlek_link as ml
    import _marlek_testing as testing

    FORKS = 10
    WAIT_S = 30

    def interrupt(*_):
        raise KeyboardInterrupt

    def in_child():
        assert testing.loopback_discovery(5, 9).discover() == []
        rows = []
        link = ml.MarlekLink(host, port)
        link.set_request_timeout(datetime.timedelta(minutes=10))
        link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(rows.extend))
        assert not link.connect()
        signal.signal(signal.SIGALRM, interrupt)
        try:
            signal.setitimer(signal.ITIMER_REAL, 0.2)
            # Never answered.
            link.get_workstation_status()
            return 3
        except KeyboardInterrupt:
            pass
        assert not link.do_job(testing.cv_job())
        return 0 if rows else 2

    def repeat():
        # Without a connection: it answers at once, starting no thread.
        link = ml.MarlekLink("127.0.0.1", nowhere)
        while True:
            link.get_workstation_status()

    # The parent's blocking calls on the main thread have run, too.
    assert testing.loopback_discovery(5, 9).discover() == []
    for _ in range(4):
        threading.Thread(target=repeat, daemon=True).start()
    for _ in range(FORKS):
        child = os.fork()
        if child == 0:
            sys.exit(in_child())
        deadline = time.monotonic() + WAIT_S
        while (ended := os.waitpid(child, os.WNOHANG)) == (0, 0) and time.monotonic() < deadline:
            time.sleep(0.05)
        if ended == (0, 0):
            os.kill(child, signal.SIGKILL)
            os.waitpid(child, 0)
            print("hung", flush=True)
        else:
            print(os.waitstatus_to_exitcode(ended[1]), flush=True)
    """
)


def test_forked_children_use_the_module_and_exit(fake_workstation, testing):
    fake_workstation.command(do="silent", command="/status")
    helpers = str(pathlib.Path(testing.__file__).parent)
    child = subprocess.run(
        [sys.executable, "-c", CHILD, fake_workstation.host, fake_workstation.port, free_port(), helpers],
        capture_output=True,
        text=True,
        timeout=CHILD_TIMEOUT_S,
    )
    assert (child.returncode, child.stdout.splitlines()) == (0, ["0"] * 10), child.stderr
