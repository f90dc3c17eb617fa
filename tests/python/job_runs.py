"""Runs control, calibration and service jobs against the fake workstation
process with its scripted sample answers."""

from support.links import connected_link
from support.started_jobs import started_jobs

SERVICE = "\U0001F6E0\uFE0F/"


def run_jobs(server, *jobs, scripts=()):
    """Runs each job on one connection after scripting the sample answers
    and then the given script commands (dicts); the errors do_job returned
    and the "job" objects the workstation received, in sending order."""
    server.command(do="script_jobs")
    for script in scripts:
        server.command(**script)
    link = connected_link(server)
    try:
        errors = [link.do_job(job) for job in jobs]
    finally:
        link.disconnect()
    return errors, started_jobs(server)
