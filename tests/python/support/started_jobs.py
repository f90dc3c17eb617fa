"""What the fake workstation process was asked to start."""

import json


def started_jobs(server):
    """The "job" objects of the "/job/start" requests the server received, in
    sending order, parsed with their key order kept."""
    messages = [json.loads(text) for text in server.command(do="messages")["messages"]]
    return [message["job"] for message in messages if message.get("do") == "/job/start"]
