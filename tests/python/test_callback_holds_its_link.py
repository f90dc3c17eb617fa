"""A callback whose closure is the last holder of its link: however the
callable goes (at exit, by disconnect, by replacement, by collection), the
link is let go of without the library waiting for itself, and the script
ends cleanly. One child interpreter per run."""

import pathlib
import subprocess
import sys
import textwrap
from concurrent.futures import ThreadPoolExecutor

import pytest

RUNS = 3
# Generous: CI is a loaded two-core machine; a hang is what this catches.
CHILD_TIMEOUT_S = 120

# argv: host, port, kind (a handler factory, or "status"), trigger, the
# folder of the test helper module. The link is made in a function and held
# by its callback's closure alone once that returns. The triggers:
#   exit        nothing: the script ends with the cycle in place
#   gc          gc.collect()
#   replace     the script replaces the callback (or clears the handler)
#               through weak references
#   disconnect  the script disconnects the link through a weak reference
#   inside      the callback replaces itself (status: when the workstation
#               drops the connection; handlers: at their second event, the
#               script having let go of the link after the first)
#   inside_disconnect  the status callback disconnects its link
CHILD = textwrap.dedent(
    """
    import datetime, gc, sys, threading, time, weakref

    host, port, kind, trigger, helpers = sys.argv[1:6]
    sys.path.insert(0, helpers)
    import marlek_link as ml
    import _marlek_testing as testing

    Status = ml.MarlekLinkConnectionStatusEnum
    first_event = threading.Event()
    link_gone = threading.Event()
    handlers = {}

    def open_and_forget():
        link = ml.MarlekLink(host, port)
        link.set_request_timeout(datetime.timedelta(seconds=10))
        assert not link.connect()
        calls = [0]

        def callback(*args):
            calls[0] += 1
            if kind == "status":
                if args[0] is not Status.DISCONNECTED:
                    return
                if trigger == "inside":
                    link.set_connection_status_callback(None)
                elif trigger == "inside_disconnect":
                    link.disconnect()
                return
            if calls[0] == 1:
                first_event.set()
                link.cancel_pending_operations()
            elif trigger == "inside" and "handler" in handlers:
                link.clear_event_handler(handlers.pop("handler"))

        if kind == "status":
            link.set_connection_status_callback(callback)
        else:
            handlers["handler"] = getattr(ml.MarlekLinkEventHandler, kind)(callback)
            link.set_event_handler(handlers["handler"])
            if trigger == "inside":
                job = testing.eis_job() if "eis" in kind or "wave" in kind else testing.cv_job()
                link.do_job(job)
                assert first_event.wait(60)
        weakref.finalize(link, link_gone.set)
        return weakref.ref(link), weakref.ref(handlers.get("handler", callback))

    link, registered = open_and_forget()
    handlers.pop("handler", None) if trigger != "inside" else None
    print("ready", flush=True)
    if trigger == "gc":
        gc.collect()
    elif trigger == "replace":
        if kind == "status":
            link().set_connection_status_callback(lambda status: None)
        else:
            link().clear_event_handler(registered())
    elif trigger == "disconnect":
        link().disconnect()
    if trigger != "exit":
        assert link_gone.wait(60), "the link was not let go of"
    print("exiting", flush=True)
    """
)

HANDLERS = [
    "make_live_data_rows_event_handler",
    "make_live_data_header_event_handler",
    "make_live_data_finished_event_handler",
    "make_job_done_event_handler",
    "make_job_status_update_event_handler",
    "make_live_data_header_eis_event_handler",
    "make_live_data_row_eis_event_handler",
    "make_live_data_wave_event_handler",
    "make_job_log_message_event_handler",
    "make_log_message_event_handler",
]
# Handlers whose event comes more than once per job, so that a later one
# may arrive after the script has let go of the link.
REPEATED = ["make_live_data_rows_event_handler", "make_live_data_row_eis_event_handler"]

CASES = (
    [("status", trigger) for trigger in ("exit", "gc", "replace", "disconnect", "inside", "inside_disconnect")]
    + [(kind, trigger) for kind in HANDLERS for trigger in ("exit", "gc", "replace")]
    + [(kind, "inside") for kind in REPEATED]
)


def run_child(server, kind, trigger, helpers):
    child = subprocess.Popen(
        [sys.executable, "-c", CHILD, server.host, server.port, kind, trigger, helpers],
        stdout=subprocess.PIPE,
        stderr=subprocess.PIPE,
        text=True,
    )
    if kind == "status" and trigger.startswith("inside"):
        # The callback acts on the loss of the connection.
        assert child.stdout.readline() == "ready\n"
        server.command(do="drop")
    try:
        out, err = child.communicate(timeout=CHILD_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        child.kill()
        out, err = child.communicate()
        err += "\n(timed out)"
    return child.returncode, out, err


@pytest.mark.parametrize("kind, trigger", CASES, ids=[f"{kind}-{trigger}" for kind, trigger in CASES])
def test_a_link_held_only_by_its_callback_goes_cleanly(fake_workstation_with, testing, kind, trigger):
    helpers = str(pathlib.Path(testing.__file__).parent)
    eis = "eis" in kind or "wave" in kind
    # One workstation per child: a drop is for the latest connection.
    servers = [fake_workstation_with(*(("--demo", "eis") if eis else ())) for _ in range(RUNS)]
    with ThreadPoolExecutor(RUNS) as pool:
        results = list(pool.map(run_child, servers, [kind] * RUNS, [trigger] * RUNS, [helpers] * RUNS))
    for returncode, out, err in results:
        assert (returncode, out.splitlines()[-1:]) == (0, ["exiting"]), err
