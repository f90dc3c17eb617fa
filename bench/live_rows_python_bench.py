"""DC live-data events (10 rows of 3 values each) delivered to a Python
callback: the marlek_link module against pure-Python clients of the same
loopback server, one on the standard library alone (socket, hand-written
WebSocket framing, json) and, where installed, one on `websockets` with
asyncio. All clients live in this process and run alternately, so that the
load of a shared machine falls on each alike; the server is a child process.

    python bench/live_rows_python_bench.py [--events N] [--rounds R]
"""

import argparse
import asyncio
import base64
import hashlib
import json
import os
import socket
import statistics
import struct
import subprocess
import sys
import threading
import time

MESSAGE_KINDS = 64
ROWS_PER_EVENT = 10
WEBSOCKET_GUID = b"258EAFA5-E914-47DA-95CA-C5AB0DC85B11"
# Generous: the machine may be loaded.
WAIT_S = 120


def event_messages():
    """Distinct events, with values of the precision a workstation sends."""
    messages = []
    for m in range(MESSAGE_KINDS):
        rows = []
        for row in range(ROWS_PER_EVENT):
            n = m * ROWS_PER_EVENT + row
            rows.append("[%.17g,%.17g,%.17g]" % (n * 0.001, 0.25 + n * 1.3e-4, -1.5e-6 * n))
        messages.append('{"type":"EVENT","event":{"type":"LIVE_DATA_ROWS","data":[%s]}}' % ",".join(rows))
    return messages


def server_frame(payload, opcode=0x1):
    header = bytes([0x80 | opcode])
    size = len(payload)
    if size < 126:
        header += bytes([size])
    elif size < 1 << 16:
        header += bytes([126]) + struct.pack("!H", size)
    else:
        header += bytes([127]) + struct.pack("!Q", size)
    return header + payload


def client_frame(payload, opcode=0x1):
    mask = os.urandom(4)
    size = len(payload)
    if size < 126:
        header = bytes([0x80 | opcode, 0x80 | size])
    elif size < 1 << 16:
        header = bytes([0x80 | opcode, 0x80 | 126]) + struct.pack("!H", size)
    else:
        header = bytes([0x80 | opcode, 0x80 | 127]) + struct.pack("!Q", size)
    masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
    return header + mask + masked


def read_frame(stream):
    """One frame from a buffered binary stream: (opcode, payload); None at
    the end of the stream. Unmasks what a client sent."""
    head = stream.read(2)
    if len(head) < 2:
        return None
    opcode = head[0] & 0x0F
    size = head[1] & 0x7F
    if size == 126:
        size = struct.unpack("!H", stream.read(2))[0]
    elif size == 127:
        size = struct.unpack("!Q", stream.read(8))[0]
    mask = stream.read(4) if head[1] & 0x80 else None
    payload = stream.read(size)
    if mask:
        payload = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
    return opcode, payload


def accept_key(key):
    return base64.b64encode(hashlib.sha1(key + WEBSOCKET_GUID).digest()).decode()


# The server: answers every request by its id; a status request is followed
# by one batch of events.


def reply_to(request_id):
    return json.dumps({
        "type": "REPLY",
        "request_id": request_id,
        "status": "SUCCESS",
        "workstation_status": {"busy": False, "uptime": 1234, "last_dc_calibration": "never"},
    }).encode()


def serve_connection(connection, batch):
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    stream = connection.makefile("rb")
    request = b""
    while not request.endswith(b"\r\n\r\n"):
        line = stream.readline()
        if not line:
            return
        request += line
    key = next(line.split(b":", 1)[1].strip() for line in request.split(b"\r\n")
               if line.lower().startswith(b"sec-websocket-key:"))
    connection.sendall(("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                        f"Sec-WebSocket-Accept: {accept_key(key)}\r\n\r\n").encode())
    while True:
        frame = read_frame(stream)
        if frame is None:
            return
        opcode, payload = frame
        if opcode == 0x8:
            connection.sendall(server_frame(payload[:2], 0x8))
            return
        if opcode == 0x9:
            connection.sendall(server_frame(payload, 0xA))
            continue
        if opcode != 0x1:
            continue
        message = json.loads(payload)
        connection.sendall(server_frame(reply_to(message.get("request_id", ""))))
        if message.get("do") == "/status":
            connection.sendall(batch)


def run_server(events):
    messages = event_messages()
    batch = b"".join(server_frame(messages[i % len(messages)].encode()) for i in range(events))
    listener = socket.create_server(("127.0.0.1", 0))
    print(listener.getsockname()[1], flush=True)
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=serve_connection, args=(connection, batch), daemon=True).start()


# The clients: each runs one batch per call of run_batch, from the status
# request until the last event's rows reached its callback.


class Counter:
    """The rows callback of every client: counts events and wakes the waiter
    at the end of a batch."""

    def __init__(self, events):
        self.events = events
        self.seen = 0
        self.rows = 0
        self.done = threading.Event()

    def start(self):
        self.seen = 0
        self.done.clear()

    def __call__(self, rows):
        self.rows += len(rows)
        self.seen += 1
        if self.seen == self.events:
            self.done.set()


class ModuleClient:
    name = "marlek_link module"

    def __init__(self, port, events):
        import marlek_link as ml

        self.counter = Counter(events)
        self.link = ml.MarlekLink("127.0.0.1", str(port))
        self.link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(self.counter))
        error = self.link.connect()
        if error:
            raise RuntimeError(str(error))

    def run_batch(self):
        self.counter.start()
        self.link.get_workstation_status()
        if not self.counter.done.wait(WAIT_S):
            raise RuntimeError("the module's batch did not arrive")

    def close(self):
        self.link.disconnect()


class StdlibClient:
    name = "standard-library client"

    def __init__(self, port, events):
        self.counter = Counter(events)
        self.socket = socket.create_connection(("127.0.0.1", port))
        self.socket.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        key = base64.b64encode(os.urandom(16))
        self.socket.sendall(b"GET /default HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                            b"Connection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                            b"Sec-WebSocket-Key: " + key + b"\r\n\r\n")
        self.stream = self.socket.makefile("rb")
        while self.stream.readline() not in (b"\r\n", b""):
            pass
        self.next_id = 0

    def run_batch(self):
        self.counter.start()
        self.next_id += 1
        self.socket.sendall(client_frame(json.dumps({"do": "/status", "request_id": str(self.next_id)}).encode()))
        while not self.counter.done.is_set():
            frame = read_frame(self.stream)
            if frame is None:
                raise RuntimeError("the server closed the connection")
            message = json.loads(frame[1])
            if message["type"] == "EVENT" and message["event"]["type"] == "LIVE_DATA_ROWS":
                self.counter(message["event"]["data"])

    def close(self):
        self.socket.sendall(client_frame(struct.pack("!H", 1000), 0x8))
        self.stream.close()
        self.socket.close()


class WebsocketsClient:
    name = "websockets asyncio client"

    def __init__(self, port, events):
        from websockets.asyncio.client import connect

        self.counter = Counter(events)
        self.loop = asyncio.new_event_loop()
        self.connection = self.loop.run_until_complete(connect(f"ws://127.0.0.1:{port}/default", max_size=None))
        self.next_id = 0

    async def batch(self):
        self.next_id += 1
        await self.connection.send(json.dumps({"do": "/status", "request_id": str(self.next_id)}))
        while not self.counter.done.is_set():
            message = json.loads(await self.connection.recv())
            if message["type"] == "EVENT" and message["event"]["type"] == "LIVE_DATA_ROWS":
                self.counter(message["event"]["data"])

    def run_batch(self):
        self.counter.start()
        self.loop.run_until_complete(self.batch())

    def close(self):
        self.loop.run_until_complete(self.connection.close())
        self.loop.close()


def websockets_installed():
    try:
        import websockets.asyncio.client  # noqa: F401
    except ImportError:
        return False
    return True


def timed(client):
    start = time.perf_counter()
    client.run_batch()
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--events", type=int, default=20000, help="events per batch")
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--serve", action="store_true", help=argparse.SUPPRESS)
    options = parser.parse_args()
    if options.serve:
        run_server(options.events)
        return

    server = subprocess.Popen([sys.executable, __file__, "--serve", "--events", str(options.events)],
                              stdout=subprocess.PIPE, text=True)
    try:
        port = int(server.stdout.readline())
        kinds = [ModuleClient, StdlibClient]
        if websockets_installed():
            kinds.append(WebsocketsClient)
        else:
            print("websockets is not installed: its client is left out")
        clients = [kind(port, options.events) for kind in kinds]
        samples = {client.name: [] for client in clients}
        for client in clients:
            timed(client)  # warm up
        for _ in range(options.rounds):
            for client in clients:
                samples[client.name].append(options.events / timed(client))
        for client in clients:
            client.close()
    finally:
        server.kill()
        server.wait()

    print(f"DC live-data events, {ROWS_PER_EVENT} rows x 3, to a Python callback "
          f"({options.events} per batch, {options.rounds} rounds, events per second)")
    medians = {}
    for name, rates in samples.items():
        medians[name] = statistics.median(rates)
        print(f"  {name:28} median {medians[name]:12.0f}  min {min(rates):12.0f}  max {max(rates):12.0f}"
              f"  ({1e6 / medians[name]:.2f} us per event)")
    module = medians[ModuleClient.name]
    for name, median in medians.items():
        if name != ModuleClient.name:
            print(f"  ratio module/{name} (medians): {module / median:.3f}")


if __name__ == "__main__":
    main()
