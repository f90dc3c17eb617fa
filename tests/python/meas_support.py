"""Runs jobs against the fake workstation process and returns the "/job/start"
requests it received, parsed with their key order kept."""

import json
import textwrap

from support.links import connected_link
from support.started_jobs import started_jobs


def started_requests(server, *jobs):
    """Runs each job on one connection; the "job" objects of the requests the
    workstation received, in sending order. The live data is not looked at,
    so it comes without the pauses of a real run."""
    server.command(do="no_pauses")
    link = connected_link(server)
    try:
        for job in jobs:
            link.do_job(job)
    finally:
        link.disconnect()
    return started_jobs(server)


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
