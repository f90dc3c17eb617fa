"""Registrations made inside a callback of the link take effect in the order
they were made, once the callback's event has been handled, and without a
thread of their own: a handler that replaces itself at every event gets each
event once."""

import os

import marlek_link as ml
from support.links import connected_link
from support.recorder import Recorder

Handler = ml.MarlekLinkEventHandler
Status = ml.MarlekLinkConnectionStatusEnum
CV_ROW_EVENTS = 5
# Threads the process may start besides its own for a link: the connection's
# few, with a wide margin; one per registration would be hundreds.
THREAD_MARGIN = 20


def threads():
    return len(os.listdir("/proc/self/task"))


def test_clearing_one_handler_and_setting_another_inside_a_callback(fake_workstation, testing):
    fake_workstation.command(do="no_pauses")
    link = connected_link(fake_workstation)
    for _ in range(30):
        calls = Recorder()

        def first(rows):
            calls.add("A")
            link.clear_event_handler(a)
            link.set_event_handler(b)

        a = Handler.make_live_data_rows_event_handler(first)
        b = Handler.make_live_data_rows_event_handler(lambda rows: calls.add("B"))
        link.set_event_handler(a)
        assert not link.do_job(testing.cv_job())
        assert calls.wait_for(CV_ROW_EVENTS) == ["A"] + ["B"] * (CV_ROW_EVENTS - 1)
        assert not link.do_job(testing.cv_job())
        assert calls.wait_for(2 * CV_ROW_EVENTS) == ["A"] + ["B"] * (2 * CV_ROW_EVENTS - 1)
        link.clear_event_handler(b)
    link.disconnect()


def test_a_handler_that_replaces_itself_at_every_event(fake_workstation, testing):
    fake_workstation.command(do="no_pauses")
    link = connected_link(fake_workstation)
    before = threads()
    deliveries = Recorder()
    most_threads = [before]

    def replacing(number):
        def on_rows(rows):
            deliveries.add((number, rows))
            most_threads[0] = max(most_threads[0], threads())
            link.clear_event_handler(current[0])
            current[0] = Handler.make_live_data_rows_event_handler(replacing(number + 1))
            link.set_event_handler(current[0])

        return on_rows

    current = [Handler.make_live_data_rows_event_handler(replacing(0))]
    link.set_event_handler(current[0])
    jobs = 600
    for _ in range(jobs):
        assert not link.do_job(testing.cv_job())
    delivered = deliveries.wait_for(jobs * CV_ROW_EVENTS)
    # Each event reached exactly one handler, the one its predecessor set.
    assert [number for number, _ in delivered] == list(range(jobs * CV_ROW_EVENTS))
    rows_of_a_job = [row for _, rows in delivered[:CV_ROW_EVENTS] for row in rows]
    assert [row for _, rows in delivered for row in rows] == rows_of_a_job * jobs
    assert most_threads[0] < before + THREAD_MARGIN
    link.disconnect()


def test_the_status_callback_set_inside_a_callback_takes_over(fake_workstation, testing):
    fake_workstation.command(do="no_pauses")
    link = connected_link(fake_workstation)
    first, second = Recorder(), Recorder()

    def on_rows(rows):
        link.clear_event_handler(handler)
        link.set_connection_status_callback(first.add)
        link.set_connection_status_callback(second.add)

    handler = Handler.make_live_data_rows_event_handler(on_rows)
    link.set_event_handler(handler)
    assert not link.do_job(testing.cv_job())
    fake_workstation.command(do="drop")
    assert second.wait_for(1) == [Status.DISCONNECTED]
    assert first.items == []
    link.disconnect()
