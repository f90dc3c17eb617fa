"""What the dataset tests share: a link connected to the fake workstation,
a run of its demo job, and binary tables written the way the workstation
stores them."""

import datetime
import json
import struct
import threading

import marlek_link as ml

# Generous: CI is a loaded two-core machine.
WAIT_S = 60

EIS_META = ["frequency", "periods", "time", "wave_id", "wave_size"]


def connected_link(server):
    link = ml.MarlekLink(server.host, server.port)
    link.set_request_timeout(datetime.timedelta(seconds=10))
    error = link.connect()
    assert not error, str(error)
    return link


class Recorder:
    """Collects what callbacks receive, from whatever thread calls them."""

    def __init__(self):
        self.items = []
        self.changed = threading.Condition()

    def add(self, item):
        with self.changed:
            self.items.append(item)
            self.changed.notify_all()

    def wait_for(self, count):
        with self.changed:
            assert self.changed.wait_for(lambda: len(self.items) >= count, timeout=WAIT_S), self.items
            return list(self.items)


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
