"""Links connected to the fake workstation process, and a port where nothing
listens."""

import datetime
import socket

import marlek_link as ml

# Generous: CI is a loaded two-core machine.
REQUEST_TIMEOUT = datetime.timedelta(seconds=10)


def connected_link(server, link_class=ml.MarlekLink, **kwargs):
    """A link of the given class connected to the server; the keywords go to
    its constructor."""
    link = link_class(server.host, server.port, **kwargs)
    link.set_request_timeout(REQUEST_TIMEOUT)
    error = link.connect()
    assert not error, str(error)
    return link


def free_port():
    """A port of 127.0.0.1 that nothing listens on: bound once, then released."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return str(probe.getsockname()[1])
