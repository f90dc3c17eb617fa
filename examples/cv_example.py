"""Runs one cyclic voltammetry on a workstation from Python: connects, prints
the live rows as they arrive, fetches the result as a dataset and
disconnects.

    .venv/bin/python examples/cv_example.py HOST PORT

Give a real workstation's address and port (1994 by default), or the port of
the fake workstation that scripts/build.sh starts.
"""

import sys

import marlek_link as ml


def print_header(header: ml.LiveDataHeader, job_info: ml.JobInfo) -> None:
    print(f"live data of {header.get_type()} (job {job_info.get_job_id()}):")
    print("".join(f"{c.get_dimension() + ' [' + c.get_unit() + ']':>14}" for c in header.get_columns()))


def print_rows(rows: list[list[float]]) -> None:
    # Runs on the connection's thread while the job runs.
    for row in rows:
        print("".join(f"{value:14.6g}" for value in row))


def main(host: str, port: str) -> int:
    link = ml.MarlekLink(host, port)
    error = link.connect()
    if error:
        print(f"connect failed: {error}", file=sys.stderr)
        return 1
    identity = link.get_workstation_info()
    if isinstance(identity, ml.WorkstationInfo):
        print(f"connected to {identity.model_name} {identity.serial_number} (protocol {identity.protocol_version})")

    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_header_event_handler(print_header))
    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(print_rows))
    link.set_event_handler(
        ml.MarlekLinkEventHandler.make_live_data_finished_event_handler(lambda info: print("live data finished"))
    )

    job = ml.meas.CvJob(
        start_value=0.0, first_vertex=0.5, second_vertex=-0.5, end_value=0.0, scan_rate=0.1,
        output_data_rate=2.0, num_cycles=1.0, autorange=False, current_range=1e-3, turn_limit_check=False,
        upper_turn_boundary=0.0, lower_turn_boundary=0.0, step_height=0.0, ir_drop=0.0,
    )
    error = link.do_job(job)
    if error:
        print(f"cyclic voltammetry failed: {error}", file=sys.stderr)
        return 1
    info = job.get_last_job_info()
    print(f"job {info.get_job_id()} {info.get_status_string()}")

    # A DataSet or an ErrorObject; a cyclic voltammetry gives a DcDataset,
    # whose DC tracks the type checker knows of only once it is narrowed so.
    dataset = link.get_job_result_data(job)
    if not isinstance(dataset, ml.DcDataset):
        print(f"fetching the result failed: {dataset}", file=sys.stderr)
        return 1
    current = dataset.get_dc_track(ml.TrackNames.CURRENT)
    summary = f"result: {dataset.get_row_count()} rows of {len(dataset.get_dc_dimensions())} columns"
    if current:
        summary += f", current from {min(current):g} A to {max(current):g} A"
    print(summary)

    link.disconnect()
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(f"usage: {sys.argv[0]} HOST PORT", file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2]))
