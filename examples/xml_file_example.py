"""Keeps the result of a finished job as a standalone XML file from Python:
connects, runs one cyclic voltammetry, fetches its result, saves it as a
measurement file and reads the file back.

    .venv/bin/python examples/xml_file_example.py HOST PORT FILE

Give a real workstation's address and port (1994 by default), or the port of
the fake workstation that scripts/build.sh starts.
"""

import sys

import marlek_link as ml
from marlek_link import xml as mx


def main(host: str, port: str, filename: str) -> int:
    link = ml.MarlekLink(host, port)
    error = link.connect()
    if error:
        print(f"connect failed: {error}", file=sys.stderr)
        return 1
    job = ml.meas.CvJob(
        start_value=0.0, first_vertex=0.5, second_vertex=-0.5, end_value=0.0, scan_rate=0.1,
        output_data_rate=2.0, num_cycles=1.0, autorange=False, current_range=1e-3, turn_limit_check=False,
        upper_turn_boundary=0.0, lower_turn_boundary=0.0, step_height=0.0, ir_drop=0.0,
    )
    error = link.do_job(job)
    dataset = link.get_job_result_data(job) if not error else error
    link.disconnect()
    # A cyclic voltammetry gives a DcDataset; anything else is the error.
    if not isinstance(dataset, ml.DcDataset):
        print(f"running or fetching the job failed: {dataset}", file=sys.stderr)
        return 1
    print(f"job {dataset.get_job_info().get_job_id()}: {dataset.get_row_count()} rows")

    exporter = mx.MXmlExporter("xml_file_example.py", "1.0")
    error = exporter.save_as_file_standalone(mx.Measurement(dataset), filename, "one cyclic voltammetry")
    if error:
        print(f"saving failed: {error}", file=sys.stderr)
        return 1
    print(f"saved {filename}")

    # An ImportedFile or an ErrorObject; the file may hold a Measurement or a
    # dataset, and import_from_file_as_measurement has made sure it is the first.
    imported = mx.MXmlImporter().import_from_file_as_measurement(filename)
    if isinstance(imported, ml.ErrorObject):
        print(f"reading the file back failed: {imported}", file=sys.stderr)
        return 1
    measurement = imported.object
    assert isinstance(measurement, mx.Measurement)
    info = imported.file_info
    datasets = measurement.get_datasets()
    print(f"read back format version {info.file_version}, written {info.creation_timestamp} by {info.generator}:",
          ", ".join(f"{d.get_job_info().get_job_id()} with {d.get_row_count()} rows" for d in datasets))
    read_back = datasets[0] if len(datasets) == 1 else None
    same = isinstance(read_back, ml.DcDataset) and read_back.get_tracks() == dataset.get_tracks()
    return 0 if same else 1


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(f"usage: {sys.argv[0]} HOST PORT FILE", file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
