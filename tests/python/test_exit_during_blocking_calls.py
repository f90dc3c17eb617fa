"""A script that ends while daemon threads are inside blocking calls of the
module: the child interpreter ends with the exit code of its script, never
by an abort, for every kind of blocking call and every way a script ends,
many times over."""

import pathlib
import subprocess
import sys
import textwrap
from concurrent.futures import ThreadPoolExecutor

import pytest

# Child interpreters at once per case: each exit meets the threads at
# another point of their calls.
RUNS = 6
# Generous: CI is a loaded two-core machine.
CHILD_TIMEOUT_S = 120

# argv: kind, ending, host, port, the folder of the test helper module.
# Each of several daemon threads repeats one kind of call on a link of its
# own ("unanswered": waits in a request that the workstation never
# answers). The main thread ends the script once every thread is connected.
CHILD = textwrap.dedent(
    """
    import datetime, sys, threading

    kind, ending, host, port, helpers = sys.argv[1:6]
    sys.path.insert(0, helpers)
    import marlek_link as ml
    import _marlek_testing as testing

    THREADS = 4
    REQUEST_TIMEOUT = datetime.timedelta(seconds=30)

    def connected():
        link = ml.MarlekLink(host, port)
        link.set_request_timeout(REQUEST_TIMEOUT)
        assert not link.connect()
        return link

    def reconnect(link):
        link.disconnect()
        link.connect()

    CALLS = {
        "query": lambda link: link.get_workstation_status(),
        "do_job": lambda link: link.do_job(testing.cv_job()),
        "resource": lambda link: link.get_available_resources(ml.ResourceTypeEnum.JOB_RESULT),
        "connect": reconnect,
        # This peer serves no HTTP "/id": each call ends at once, with an error.
        "id": lambda link: link.id(REQUEST_TIMEOUT),
        "discovery": lambda link: testing.loopback_discovery(5, 9).discover(),
        "unanswered": lambda link: link.get_settings(),
    }
    call = CALLS[kind]
    started = threading.Barrier(THREADS + 1)

    def repeat():
        link = connected()
        started.wait()
        while True:
            call(link)

    for _ in range(THREADS):
        threading.Thread(target=repeat, daemon=True).start()
    started.wait(60)
    print("ending", flush=True)
    if ending == "exception":
        raise RuntimeError("the script ends by an exception")
    if ending == "sys.exit":
        sys.exit(3)
    """
)

KINDS = ["query", "do_job", "resource", "connect", "id", "discovery", "unanswered"]
ENDINGS = {"normal": 0, "exception": 1, "sys.exit": 3}


def run_child(server, kind, ending, helpers):
    child = subprocess.Popen(
        [sys.executable, "-c", CHILD, kind, ending, server.host, server.port, helpers],
        stdout=subprocess.PIPE,
        stderr=subprocess.PIPE,
        text=True,
    )
    try:
        out, err = child.communicate(timeout=CHILD_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        child.kill()
        out, err = child.communicate()
    return child.returncode, out, err


@pytest.mark.parametrize("ending", ENDINGS)
@pytest.mark.parametrize("kind", KINDS)
def test_exit_while_daemon_threads_block(fake_workstation, testing, kind, ending):
    if kind == "unanswered":
        fake_workstation.command(do="silent", command="/settings/get")
    helpers = str(pathlib.Path(testing.__file__).parent)
    with ThreadPoolExecutor(RUNS) as pool:
        results = list(pool.map(lambda _: run_child(fake_workstation, kind, ending, helpers), range(RUNS)))
    for returncode, out, err in results:
        assert (returncode, out.splitlines()) == (ENDINGS[ending], ["ending"]), err
        assert "Fatal Python error" not in err and "terminate called" not in err, err
