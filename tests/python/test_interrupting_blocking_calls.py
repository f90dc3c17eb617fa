"""Ctrl-C in a call that blocks on the main thread: a child interpreter
waits in each kind of blocking call, against a peer that keeps it waiting
far longer than the test; SIGINT raises KeyboardInterrupt there, and the
link involved works afterwards."""

import contextlib
import pathlib
import queue
import signal
import socket
import subprocess
import sys
import textwrap
import threading
import time

import pytest

# Generous: CI is a loaded two-core machine.
CHILD_TIMEOUT_S = 120
EVENT_TIMEOUT_S = 60
# The soonest that any call here would end by itself: connect gives up on
# an unanswered upgrade after 30 s (a download waits two minutes for its
# data; the other calls wait for ten minutes or more).
SHORTEST_CALL_S = 30

# argv: kind, host and port of the fake workstation, the folder of the test
# helper module, the port of the test's own silent peer. Every bound the
# child sets is far beyond the test's own: only the interruption can end
# its call in time.
CHILD = textwrap.dedent(
    """
    import datetime, pathlib, signal, sys, tempfile

    kind, host, port, helpers, peer = sys.argv[1:6]
    # As an interactive shell starts it: a shell may have started this
    # process with SIGINT ignored.
    signal.signal(signal.SIGINT, signal.default_int_handler)
    sys.path.insert(0, helpers)
    import marlek_link as ml
    import _marlek_testing as testing

    LONG = datetime.timedelta(minutes=10)

    def connected(cls=ml.MarlekLink):
        link = cls(host, port)
        link.set_request_timeout(LONG)
        assert not link.connect()
        return link

    link = None
    if kind == "connect":
        link = ml.MarlekLink("127.0.0.1", peer)
        call = link.connect
    elif kind == "discovery":
        call = testing.loopback_discovery(10 * 60 * 1000, int(peer)).discover
    else:
        link = connected(ml.MarlekLinkExc if kind == "exc_job_list" else ml.MarlekLink)
        if kind == "do_job":
            call = lambda: link.do_job(testing.cv_job())
        elif kind == "query":
            call = link.get_workstation_status
        elif kind == "exc_job_list":
            call = link.get_job_info_list
        elif kind == "download_to_file":
            resource = link.get_available_resources(ml.ResourceTypeEnum.JOB_RESULT)[0]
            target = pathlib.Path(tempfile.mkdtemp()) / "result"
            call = lambda: link.download_resource_to_file(resource, target)
        elif kind == "job_result":
            job = testing.cv_job()
            assert not link.do_job(job)
            call = lambda: link.get_job_result_data(job)
        elif kind == "id":
            # The connection stays with the workstation; id asks the peer.
            link.set_destination_host("127.0.0.1", peer)
            call = link.id

    print("calling", flush=True)
    try:
        outcome = call()
    except KeyboardInterrupt:
        print("interrupted", flush=True)
    else:
        print("returned", outcome, flush=True)
        sys.exit(1)

    if link is not None:
        if kind == "connect":
            link.set_destination_host(host, port)
            link.set_request_timeout(LONG)
            assert not link.connect()
        info = link.get_workstation_info()
        assert isinstance(info, ml.WorkstationInfo), str(info)
        print("usable", flush=True)
    """
)


def wait_for(condition):
    deadline = time.monotonic() + EVENT_TIMEOUT_S
    while not condition():
        assert time.monotonic() < deadline, "the child never reached its call"
        time.sleep(0.05)


def requested(server, command):
    return lambda: server.command(do="requests", command=command)["requests"] > 0


def received_by(listener):
    """Waits until the child's first bytes arrive at the listening peer; the
    connection stays open and unanswered."""
    accepted = []

    def arrived():
        if not accepted:
            connection, _ = listener.accept()
            connection.settimeout(EVENT_TIMEOUT_S)
            accepted.append(connection)
        return bool(accepted[0].recv(4096, socket.MSG_PEEK))

    return arrived, accepted


# kind, what the fake is told first, the request that shows the child is
# inside its call.
WORKSTATION_CASES = [
    ("do_job", {"do": "endless_jobs"}, "/job/start"),
    ("query", {"do": "silent", "command": "/status"}, "/status"),
    ("exc_job_list", {"do": "silent", "command": "/job/list"}, "/job/list"),
    ("download_to_file", {"do": "silent", "command": "/JOB_RESULT/get"}, "/JOB_RESULT/get"),
    ("job_result", {"do": "no_download_data"}, "/JOB_RESULT/download"),
]


class Child:
    """The child interpreter and the lines it writes, as they come."""

    def __init__(self, kind, server, testing, peer):
        helpers = str(pathlib.Path(testing.__file__).parent)
        self.process = subprocess.Popen(
            [sys.executable, "-c", CHILD, kind, server.host, server.port, helpers, peer],
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
            text=True,
        )
        self.lines = queue.Queue()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def next_line(self):
        try:
            return self.lines.get(timeout=CHILD_TIMEOUT_S)
        except queue.Empty:
            return None

    def interrupt(self):
        """SIGINT; the seconds until the child reports its KeyboardInterrupt,
        its exit code and the lines it wrote after that."""
        sent = time.monotonic()
        self.process.send_signal(signal.SIGINT)
        first = self.next_line()
        elapsed = time.monotonic() - sent
        assert first == "interrupted", (first, self.end())
        self.process.wait(CHILD_TIMEOUT_S)
        self.reader.join(CHILD_TIMEOUT_S)
        rest = []
        while (line := self.lines.get_nowait()) is not None:
            rest.append(line)
        return elapsed, self.process.returncode, rest, self.process.stderr.read()

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        return self.process.stderr.read()


@contextlib.contextmanager
def started_child(kind, server, testing, peer="0"):
    """The child, once it is about to make its call; killed should the test
    fail before it has ended."""
    child = Child(kind, server, testing, peer)
    try:
        assert child.next_line() == "calling", child.end()
        yield child
    finally:
        child.end()


@pytest.mark.parametrize("kind, setup, awaited", WORKSTATION_CASES, ids=[case[0] for case in WORKSTATION_CASES])
def test_interrupted_call_on_a_workstation(fake_workstation, testing, kind, setup, awaited):
    fake_workstation.command(**setup)
    with started_child(kind, fake_workstation, testing) as child:
        wait_for(requested(fake_workstation, awaited))
        elapsed, returncode, lines, err = child.interrupt()

    assert (returncode, lines) == (0, ["usable"]), err
    assert elapsed < SHORTEST_CALL_S / 2
    # The script decides whether the workstation stops.
    assert fake_workstation.command(do="requests", command="/stop")["requests"] == 0


@pytest.mark.parametrize("kind", ["connect", "id"])
def test_interrupted_call_on_a_silent_peer(fake_workstation, testing, kind):
    with socket.create_server(("127.0.0.1", 0)) as listener:
        listener.settimeout(EVENT_TIMEOUT_S)
        arrived, accepted = received_by(listener)
        with started_child(kind, fake_workstation, testing, str(listener.getsockname()[1])) as child:
            wait_for(arrived)
            elapsed, returncode, lines, err = child.interrupt()
        for connection in accepted:
            connection.close()

    assert (returncode, lines) == (0, ["usable"]), err
    assert elapsed < SHORTEST_CALL_S / 2


def test_interrupted_discovery(fake_workstation, testing):
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as responder:
        responder.bind(("127.0.0.1", 0))
        responder.settimeout(EVENT_TIMEOUT_S)
        with started_child("discovery", fake_workstation, testing, str(responder.getsockname()[1])) as child:
            responder.recvfrom(16)
            elapsed, returncode, lines, err = child.interrupt()

    assert (returncode, lines) == (0, []), err
    assert elapsed < SHORTEST_CALL_S / 2
