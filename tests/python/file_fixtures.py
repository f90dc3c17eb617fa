"""Small datasets for the file tests, read from binary tables the way the
workstation stores them, and ".mrb" snapshots built around such tables."""

import json

from dataset_helpers import dc_header, doubles, eis_header, eis_table

DC_COLUMNS = ([0.0, 1.0, 2.0], [0.5, -0.25, 0.125])
DC_JOB_INFO = json.dumps({"job_id": "job-dc-1", "status": "FINISHED"})

EIS_META = ([1000.0, 100.0], [1.0, 1.0], [0.0, 1.0], [0.0, 1.0], [2.0, 1.0])
EIS_IMPEDANCE = ([2.0, 3.0], [0.0, 0.5])
EIS_PATHS = ([0.5, 0.6],), ([1e-3, 2e-3],)
EIS_WAVES = ([[1.0, 2.0], [3.0]], [[0.1, 0.2], [0.3]])

PROTOCOL_VERSION = 12


def dc_dataset(testing):
    return testing.dc_dataset_from_binary(b"".join(doubles(c) for c in DC_COLUMNS), dc_header("time", "voltage"),
                                          DC_JOB_INFO)


def eis_dataset(testing):
    table = eis_table(EIS_META, [EIS_IMPEDANCE], EIS_PATHS, EIS_WAVES)
    return testing.eis_dataset_from_binary(table, eis_header(), 2, "")


def snapshot(metadata, payload):
    return json.dumps(metadata).encode() + b"\0" + payload


def dc_snapshot(protocol_version=PROTOCOL_VERSION):
    payload = b"".join(doubles(c) for c in DC_COLUMNS)
    return snapshot({
        "name": "cv run",
        "sub_type": "DATASET_DC",
        "size": len(payload),
        "workstation_info": {"protocol_version": protocol_version, "serial_number": "TQ5-0001"},
        "header": {"job_data_header": json.loads(dc_header("time", "voltage")),
                   "job_info": json.loads(DC_JOB_INFO)},
    }, payload)


def eis_snapshot():
    return snapshot({
        "sub_type": "DATASET_AC",
        "workstation_info": {"protocol_version": PROTOCOL_VERSION},
        "header": {"job_data_header": json.loads(eis_header()), "number_of_rows": 2},
    }, eis_table(EIS_META, [EIS_IMPEDANCE], EIS_PATHS, EIS_WAVES))
