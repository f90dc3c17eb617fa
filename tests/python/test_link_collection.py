"""Links whose callbacks refer back to them are collected: the link and its
handler objects show the collector the callables they hold, so such a cycle
is found and broken, and the link's connection, threads and descriptors go.
What is still in use is never broken."""

import gc
import os
import resource
import threading
import time
import weakref

import marlek_link as ml
from support.links import connected_link
from support.recorder import Recorder

Handler = ml.MarlekLinkEventHandler
LINKS = 200
# Descriptors one connected link takes, with a margin.
DESCRIPTORS_PER_LINK = 10
CV_ROW_EVENTS = 5
# Generous: CI is a loaded two-core machine.
WAIT_S = 60


class SubclassedLink(ml.MarlekLink):
    def on_rows(self, rows):
        pass


# Each registers a callback that refers back to the link, and returns the
# callable.
def rows_handler_with_default_argument(link):
    callback = lambda rows, link=link: None  # noqa: E731
    link.set_event_handler(Handler.make_live_data_rows_event_handler(callback))
    return callback


def status_update_handler_closing_over_the_link(link):
    def callback(status, info):
        link.is_connected()

    link.set_event_handler(Handler.make_job_status_update_event_handler(callback))
    return callback


def status_callback_closing_over_the_link(link):
    def callback(status):
        link.is_connected()

    link.set_connection_status_callback(callback)
    return callback


def status_callback_with_default_argument(link):
    callback = lambda status, link=link: None  # noqa: E731
    link.set_connection_status_callback(callback)
    return callback


def bound_method_of_a_subclassed_link(link):
    callback = link.on_rows
    link.set_event_handler(Handler.make_live_data_rows_event_handler(callback))
    return callback


CYCLES = [
    (ml.MarlekLink, rows_handler_with_default_argument),
    (ml.MarlekLink, status_update_handler_closing_over_the_link),
    (ml.MarlekLink, status_callback_closing_over_the_link),
    (ml.MarlekLink, status_callback_with_default_argument),
    (ml.MarlekLinkExc, rows_handler_with_default_argument),
    (ml.MarlekLinkExc, status_callback_closing_over_the_link),
    (SubclassedLink, bound_method_of_a_subclassed_link),
]


def server_connections(server):
    """Connections the workstation still has open, as the system sees them.
    The tables change while they are read, so an entry may come twice."""
    port = f"{int(server.port):04X}"
    open_states = {"01", "08"}  # established, or closed by the peer only
    seen = set()
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        with open(table) as lines:
            for line in list(lines)[1:]:
                fields = line.split()
                if fields[1].endswith(":" + port) and fields[3] in open_states:
                    seen.add((fields[1], fields[2]))
    return len(seen)


def usage(server):
    return {
        "python threads": threading.active_count(),
        "threads": len(os.listdir("/proc/self/task")),
        "descriptors": len(os.listdir("/proc/self/fd")),
        "connections": server_connections(server),
    }


def wait_for_usage(server, expected):
    """The usage once it is as expected twice in a row (a read of the
    connection tables may also miss an entry), or at the time limit."""
    deadline = time.monotonic() + WAIT_S
    settled = 0
    while settled < 2 and time.monotonic() < deadline:
        settled = settled + 1 if usage(server) == expected else 0
        time.sleep(0.05)
    return usage(server)


def links_that_fit():
    """LINKS, or fewer when the descriptor limit cannot be raised for them."""
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    wanted = len(os.listdir("/proc/self/fd")) + 100 + LINKS * DESCRIPTORS_PER_LINK
    if soft != resource.RLIM_INFINITY and soft < wanted:
        soft = wanted if hard == resource.RLIM_INFINITY else min(wanted, hard)
        resource.setrlimit(resource.RLIMIT_NOFILE, (soft, hard))
    room = soft - len(os.listdir("/proc/self/fd")) - 100
    return min(LINKS, room // DESCRIPTORS_PER_LINK)


def test_links_in_cycles_with_their_callbacks_are_collected(fake_workstation):
    count = links_that_fit()
    assert count >= len(CYCLES)
    gc.collect()
    before = usage(fake_workstation)
    dead = []

    def make_cycle(number):
        link_class, register = CYCLES[number % len(CYCLES)]
        link = connected_link(fake_workstation, link_class)
        dead.extend([weakref.ref(link), weakref.ref(register(link))])

    for number in range(count):
        make_cycle(number)
    # The count sees them (a read of the tables may miss some).
    assert server_connections(fake_workstation) > before["connections"] + count // 2
    gc.collect()
    assert [ref for ref in dead if ref() is not None] == []
    assert wait_for_usage(fake_workstation, before) == before


def test_a_handler_registered_on_a_live_link_keeps_the_link_it_refers_to(fake_workstation, testing):
    fake_workstation.command(do="no_pauses")
    rows = Recorder()
    live = connected_link(fake_workstation)

    def register_on_both():
        referred = connected_link(fake_workstation)
        handler = Handler.make_live_data_rows_event_handler(lambda batch, link=referred: rows.add(link.test_flag(0)))
        referred.set_event_handler(handler)
        live.set_event_handler(handler)
        return weakref.ref(referred), weakref.ref(handler)

    referred, handler = register_on_both()
    gc.collect()
    # Reachable through the live link: nothing of it is broken.
    assert referred() is not None
    assert not live.do_job(testing.cv_job())
    assert rows.wait_for(CV_ROW_EVENTS) == [True] * CV_ROW_EVENTS
    live.clear_event_handler(handler())
    gc.collect()
    assert (referred(), handler()) == (None, None)
    live.disconnect()


def test_a_registered_handler_dropped_by_the_script_survives_collection(fake_workstation, testing):
    fake_workstation.command(do="no_pauses")
    link = connected_link(fake_workstation)
    rows, statuses = Recorder(), Recorder()
    link.set_event_handler(Handler.make_live_data_rows_event_handler(rows.add))
    link.set_connection_status_callback(lambda status, link=link: statuses.add(status))
    gc.collect()
    assert not link.do_job(testing.cv_job())
    assert len(rows.wait_for(CV_ROW_EVENTS)) == CV_ROW_EVENTS
    fake_workstation.command(do="drop")
    statuses.wait_until(lambda items: ml.MarlekLinkConnectionStatusEnum.DISCONNECTED in items)
    link.disconnect()
