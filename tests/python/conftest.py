"""Shared fixtures of the Python tests: where the C++ build is, and the fake
workstation as a process of its own on a free port of 127.0.0.1."""

import importlib
import json
import os
import pathlib
import queue
import subprocess
import sys
import threading
import time

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("MARLEK_BUILD_DIR", ROOT / "build"))
SERVER = BUILD / "tests" / "fake_workstation" / "server" / "marlek_fake_workstation_server"

# Generous: CI is a loaded two-core machine.
START_TIMEOUT_S = 30
# The server ends by itself after this, should a test run be killed outright.
SERVER_LIFETIME_S = 300
# Bound of one scripted command.
COMMAND_TIMEOUT_S = 60


class FakeWorkstation:
    """A running fake workstation server process, scripted through its
    standard input (one JSON command per line, each acknowledged)."""

    host = "127.0.0.1"

    def __init__(self, process, port):
        self.process = process
        self.port = port
        self.acknowledgements = queue.Queue()
        self.reader = threading.Thread(target=self._read_acknowledgements, daemon=True)
        self.reader.start()

    def _read_acknowledgements(self):
        for line in self.process.stdout:
            if line.startswith("{"):
                self.acknowledgements.put(json.loads(line))

    def command(self, **command):
        """Sends one command and returns its acknowledgement once it is done."""
        self.process.stdin.write(json.dumps(command) + "\n")
        self.process.stdin.flush()
        reply = self.acknowledgements.get(timeout=COMMAND_TIMEOUT_S)
        assert "error" not in reply, reply
        return reply

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=START_TIMEOUT_S)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stdin.close()
        # The reader ends at the end of the output, which the process closed.
        self.reader.join(START_TIMEOUT_S)
        self.process.stdout.close()


def start_fake_workstation(workdir, *options):
    if not SERVER.is_file():
        pytest.fail(f"{SERVER} is missing: build the C++ tests first (scripts/build.sh)")
    pathlib.Path(workdir).mkdir(parents=True, exist_ok=True)
    port_file = pathlib.Path(workdir) / "port"
    process = subprocess.Popen(
        [str(SERVER), "--port-file", str(port_file), "--lifetime", str(SERVER_LIFETIME_S), *options],
        stdin=subprocess.PIPE,
        stdout=subprocess.PIPE,
        text=True,
    )
    deadline = time.monotonic() + START_TIMEOUT_S
    while not port_file.is_file():
        if process.poll() is not None:
            pytest.fail(f"the fake workstation ended at start with code {process.returncode}")
        if time.monotonic() > deadline:
            process.kill()
            process.wait()
            pytest.fail("the fake workstation did not start")
        time.sleep(0.05)
    return FakeWorkstation(process, port_file.read_text().strip())


@pytest.fixture
def fake_workstation_with(tmp_path):
    """Starts fake workstations with the given command-line options; stops
    them all at the end of the test."""
    started = []

    def start(*options):
        server = start_fake_workstation(tmp_path / str(len(started)), *options)
        started.append(server)
        return server

    yield start
    for server in started:
        server.stop()


@pytest.fixture
def fake_workstation(fake_workstation_with):
    return fake_workstation_with()


@pytest.fixture(scope="session")
def testing():
    """The helper module that makes core objects for the tests (built by the
    C++ build beside the tests); the package goes first, so that the classes
    it returns are registered."""
    import marlek_link  # noqa: F401

    sys.path.insert(0, str(BUILD / "tests" / "python"))
    try:
        return importlib.import_module("_marlek_testing")
    finally:
        sys.path.pop(0)
