"""Runs jobs against the fake workstation process and returns the "/job/start"
requests it received, parsed with their key order kept."""

import datetime
import json
import textwrap

import marlek_link as ml


def started_requests(server, *jobs):
    """Runs each job on one connection; the "job" objects of the requests the
    workstation received, in sending order."""
    link = ml.MarlekLink(server.host, server.port)
    link.set_request_timeout(datetime.timedelta(seconds=10))
    error = link.connect()
    assert not error, str(error)
    try:
        for job in jobs:
            link.do_job(job)
    finally:
        link.disconnect()
    messages = [json.loads(text) for text in server.command(do="messages")["messages"]]
    return [message["job"] for message in messages if message.get("do") == "/job/start"]


def kinds(value):
    """The value with every number replaced by its Python type, so that a
    comparison also checks float against int."""
    if isinstance(value, dict):
        return {key: kinds(item) for key, item in value.items()}
    if isinstance(value, list):
        return [kinds(item) for item in value]
    if isinstance(value, (int, float)) and not isinstance(value, bool):
        return type(value)
    return value


def json_examples(doc):
    """Every ".. code-block:: json" block of a docstring, parsed."""
    lines = doc.splitlines()
    blocks = []
    for start, line in enumerate(lines):
        if line.strip() != ".. code-block:: json":
            continue
        indent = len(line) - len(line.lstrip()) + 4
        body = []
        for text in lines[start + 1:]:
            if text.strip() and len(text) - len(text.lstrip()) < indent:
                break
            body.append(text)
        blocks.append(json.loads(textwrap.dedent("\n".join(body))))
    return blocks
