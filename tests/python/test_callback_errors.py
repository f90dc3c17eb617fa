"""Exceptions raised in Python callbacks go to sys.unraisablehook, one
report per raise, while the connection and the other callbacks go on."""

import sys

import marlek_link as ml
from support.links import connected_link
from support.recorder import Recorder

CV_ROW_EVENTS = 5
CV_ROWS = 41
Status = ml.MarlekLinkConnectionStatusEnum


def test_a_collecting_hook_gets_every_callback_exception(fake_workstation, testing):
    link = connected_link(fake_workstation)
    rows, done, statuses, reports = Recorder(), Recorder(), Recorder(), Recorder()

    def every_other_batch_fails(batch):
        rows.add(batch)
        if len(rows.items) % 2:
            raise ValueError(f"batch {len(rows.items)}")

    def status_fails(status):
        statuses.add(status)
        raise ZeroDivisionError("status")

    def never_called():
        raise AssertionError("called without its argument")

    factory = ml.MarlekLinkEventHandler
    for handler in (
        factory.make_live_data_rows_event_handler(every_other_batch_fails),
        factory.make_job_done_event_handler(never_called),
        factory.make_job_done_event_handler(done.add),
    ):
        link.set_event_handler(handler)
    link.set_connection_status_callback(status_fails)

    hook = sys.unraisablehook
    sys.unraisablehook = lambda report: reports.add((report.exc_type, str(report.exc_value), report.object))
    try:
        assert not link.do_job(testing.cv_job())
        assert done.wait_for(1)[0].get_status() is ml.JobStatusEnum.FINISHED
        batches = rows.wait_for(CV_ROW_EVENTS)
        assert isinstance(link.get_workstation_status(), ml.WorkstationStatus)
        fake_workstation.command(do="drop")
        assert statuses.wait_for(1) == [Status.DISCONNECTED]
        link.disconnect()
    finally:
        sys.unraisablehook = hook

    # The batches after a failed one arrive whole: nothing was left pending.
    assert sum(len(batch) for batch in batches) == CV_ROWS
    assert all(len(row) == 3 for batch in batches for row in batch)
    # One report per raise, each naming the callable that raised; the job
    # done event reaches the callable that takes its argument.
    failures = sorted((kind.__name__, text) for kind, text, _ in reports.items if kind is not TypeError)
    assert failures == [("ValueError", "batch 1"), ("ValueError", "batch 3"), ("ValueError", "batch 5"),
                        ("ZeroDivisionError", "status")]
    assert [kind for kind, _, _ in reports.items].count(TypeError) == 1
    callables = {kind: source for kind, _, source in reports.items}
    assert callables[ValueError] is every_other_batch_fails
    assert callables[ZeroDivisionError] is status_fails
    assert callables[TypeError] is never_called
