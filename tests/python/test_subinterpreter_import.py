"""The module loads in the main interpreter only: a subinterpreter that
shares the main one's lock gets ImportError, before and after the main
interpreter has loaded it, and once it has ended the main interpreter's
links still deliver their live data."""

import pathlib
import subprocess
import sys
import textwrap

# Generous: CI is a loaded two-core machine.
CHILD_TIMEOUT_S = 120

# argv: host, port, the folder of the test helper module.
CHILD = textwrap.dedent(
    """
    import datetime, sys
    import _interpreters

    host, port, helpers = sys.argv[1:4]

    def import_in_subinterpreter():
        interpreter = _interpreters.create(_interpreters.new_config("legacy"))
        try:
            failure = _interpreters.exec(interpreter, "import marlek_link")
        finally:
            _interpreters.destroy(interpreter)
        return failure.type.__name__ if failure else "imported"

    before = import_in_subinterpreter()
    sys.path.insert(0, helpers)
    import marlek_link as ml
    import _marlek_testing as testing
    after = import_in_subinterpreter()
    print(before, after, flush=True)

    rows = []
    link = ml.MarlekLink(host, port)
    link.set_request_timeout(datetime.timedelta(seconds=30))
    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(rows.extend))
    assert not link.connect()
    assert not link.do_job(testing.cv_job())
    link.disconnect()
    print(len(rows) > 0, flush=True)
    """
)


def test_only_the_main_interpreter_loads_the_module(fake_workstation, testing):
    helpers = str(pathlib.Path(testing.__file__).parent)
    child = subprocess.run(
        [sys.executable, "-c", CHILD, fake_workstation.host, fake_workstation.port, helpers],
        capture_output=True,
        text=True,
        timeout=CHILD_TIMEOUT_S,
    )
    assert (child.returncode, child.stdout.splitlines()) == (0, ["ImportError ImportError", "True"]), child.stderr
