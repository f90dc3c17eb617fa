"""What the dataset tests share: a run of the fake workstation's demo job,
and binary tables written the way the workstation stores them. The connected
link and the recorder of the dataset tests are the shared ones of support/."""

import json
import struct

from support.links import connected_link  # noqa: F401
from support.recorder import Recorder  # noqa: F401

EIS_META = ["frequency", "periods", "time", "wave_id", "wave_size"]


def run_and_fetch(link, job):
    error = link.do_job(job)
    assert not error, str(error)
    return link.get_job_result_data(job)


def doubles(values):
    return struct.pack(f"<{len(values)}d", *values)


def dc_header(*dimensions, measurement_type="Cyclic Voltammetry", short_type="CV"):
    return json.dumps({
        "measurement_type": measurement_type,
        "measurement_type_short": short_type,
        "columns": {
            "dimensions": list(dimensions),
            "units": ["u"] * len(dimensions),
            "urns": [f"MAIN:1:{d.upper()}" for d in dimensions],
        },
    })


def eis_header(impedances=(("voltage", "current"),), paths=("voltage", "current")):
    """One "|impedance|" and "phase" pair per impedance, one dc column per
    synchronous path; the meta columns of EIS_META."""
    return json.dumps({
        "measurement_type": "Impedance Spectroscopy",
        "measurement_type_short": "EIS",
        "meta": {"dimensions": EIS_META, "units": ["Hz", "", "s", "", ""]},
        "impedances": [
            {"paths": {"numerator": f"URI:{n}", "denominator": f"URI:{d}"}, "impedance_name": f"{n}/{d}",
             "dimensions": ["|impedance|", "phase"], "units": ["Ohm", "rad"]}
            for n, d in impedances
        ],
        "paths": [{"name": p, "uri": f"URI:{p}", "dimensions": ["dc"], "units": ["V"]} for p in paths],
        "async_paths": [],
        "potentiostats": [],
    })


def eis_table(meta, impedances, paths, waves):
    """The binary table: meta columns, then each impedance's and each path's
    columns, then the waves of every path."""
    columns = list(meta) + [c for z in impedances for c in z] + [c for p in paths for c in p]
    return b"".join(doubles(c) for c in columns) + b"".join(doubles(w) for path in waves for w in path)
