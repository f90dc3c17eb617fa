"""Runs control, calibration and service jobs against the fake workstation
process with its scripted sample answers."""

import datetime
import json

import marlek_link as ml

SERVICE = "\U0001F6E0\uFE0F/"


def run_jobs(server, *jobs, scripts=()):
    """Runs each job on one connection after scripting the sample answers
    and then the given script commands (dicts); the errors do_job returned
    and the "job" objects the workstation received, in sending order."""
    server.command(do="script_jobs")
    for script in scripts:
        server.command(**script)
    link = ml.MarlekLink(server.host, server.port)
    link.set_request_timeout(datetime.timedelta(seconds=10))
    error = link.connect()
    assert not error, str(error)
    try:
        errors = [link.do_job(job) for job in jobs]
    finally:
        link.disconnect()
    messages = [json.loads(text) for text in server.command(do="messages")["messages"]]
    return errors, [message["job"] for message in messages if message.get("do") == "/job/start"]
