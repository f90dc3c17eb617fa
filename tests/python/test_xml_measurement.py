"""Measurement from Python: its constructors and what they share or copy,
None refused, and measurements saved as standalone files and read back, with
datasets built here and with the result of a job run on the fake
workstation."""

import gc
import pathlib
import subprocess
import sys

import pytest

import marlek_link as ml
from marlek_link import xml as mx

from dataset_helpers import connected_link, run_and_fetch
from file_fixtures import DC_COLUMNS, EIS_META, dc_dataset, eis_dataset
from hardware_trees import hardware_info_text


@pytest.fixture
def hardware(testing):
    return testing.hardware_info_from_json(hardware_info_text())


def test_a_new_measurement_is_empty():
    measurement = mx.Measurement()
    assert isinstance(measurement, mx.XmlSerializable)
    assert measurement.get_datasets() == [] and measurement.get_hardware_info() is None


def test_constructors_share_the_dataset_and_copy_the_hardware(testing, hardware):
    dc, eis = dc_dataset(testing), eis_dataset(testing)
    assert mx.Measurement(dc).get_datasets()[0] is dc
    assert mx.Measurement(eis).get_datasets()[0] is eis
    with_hardware = mx.Measurement(hardware, eis)
    assert with_hardware.get_datasets()[0] is eis
    assert mx.Measurement(hardware).get_datasets() == []
    with_both = mx.Measurement(hardware, dc)
    hardware.paths = []
    assert len(with_both.get_hardware_info().paths) == 2 and len(with_hardware.get_hardware_info().paths) == 2
    assert with_both.get_hardware_info().constains_url("MAIN:1:POT:U~ZMU:1:ZMU_U")


@pytest.mark.parametrize("arguments", [(None,), ("hw", None), (None, "dc"), ("dc", "dc"), ([],), ("info",)])
def test_none_and_other_types_are_refused(testing, hardware, arguments):
    values = {"hw": hardware, "dc": dc_dataset(testing), "info": mx.MarlekFileInfo()}
    with pytest.raises(TypeError):
        mx.Measurement(*[values.get(a, a) if isinstance(a, str) else a for a in arguments])


def test_append_copies_and_refuses_none(testing):
    dc = dc_dataset(testing)
    measurement = mx.Measurement(dc)
    measurement.append_dataset(dc)
    first, last = measurement.get_datasets()
    assert first is dc and last is not dc
    dc.append(dc_dataset(testing), 0.0)
    assert last.get_row_count() == len(DC_COLUMNS[0]) and first.get_row_count() == 2 * len(DC_COLUMNS[0])
    for bad in (None, mx.MarlekFileInfo(), [dc]):
        with pytest.raises(TypeError):
            measurement.append_dataset(bad)
    assert len(measurement.get_datasets()) == 2


def test_shared_datasets_outlive_their_python_objects(testing):
    measurement = mx.Measurement(eis_dataset(testing))
    gc.collect()
    assert measurement.get_datasets()[0].get_frequencies() == EIS_META[0]


def test_hardware_info_is_copied_in_and_out(testing, hardware):
    measurement = mx.Measurement()
    measurement.set_hardware_info(hardware)
    hardware.workstation = testing.hardware_info_from_json(hardware_info_text(paths=[])).workstation
    copy = measurement.get_hardware_info()
    copy.paths = []
    assert len(measurement.get_hardware_info().paths) == 2
    with pytest.raises(TypeError):
        measurement.set_hardware_info(None)


def test_measurement_round_trip_keeps_hardware_and_every_dataset(testing, hardware, tmp_path):
    measurement = mx.Measurement(hardware, dc_dataset(testing))
    measurement.append_dataset(eis_dataset(testing))
    path = tmp_path / "runs" / "bench.xml"
    assert not mx.MXmlExporter("bench", "1").save_as_file_standalone(measurement, path, "two runs")

    imported = mx.MXmlImporter().import_from_file_as_measurement(path)
    info = imported.file_info
    assert (info.type, info.file_version, info.generator, info.comment) == ("marlek-measurement", 4, "bench",
                                                                            "two runs")
    read = imported.object
    assert [type(d) for d in read.get_datasets()] == [ml.DcDataset, ml.EisDataset]
    assert read.get_datasets()[0].get_tracks() == [list(c) for c in DC_COLUMNS]
    assert read.get_datasets()[1].get_frequencies() == EIS_META[0]
    assert [p.url for p in read.get_hardware_info().paths] == [p.url for p in hardware.paths]
    assert read.get_datasets()[0] is read.get_datasets()[0]

    root = mx.MXmlExporter().get_xml_element_tree(read)
    assert root.tag == "marlek-measurement"
    assert [c.tag for c in root.find("marlek-measurement")] == ["hardware-info", "dataset", "dataset"]


def test_a_job_result_saved_and_read_back(fake_workstation, testing, tmp_path):
    link = connected_link(fake_workstation)
    try:
        dataset = run_and_fetch(link, testing.cv_job())
    finally:
        link.disconnect()
    assert isinstance(dataset, ml.DcDataset) and dataset.get_row_count() > 0
    path = tmp_path / "cv.xml"
    assert not mx.MXmlExporter().save_as_file_standalone(mx.Measurement(dataset), path)
    read = mx.MXmlImporter().import_from_file_as_measurement(path).object.get_datasets()[0]
    assert read.get_header() == dataset.get_header()
    assert read.get_tracks() == dataset.get_tracks()
    assert read.get_job_info().get_job_id() == dataset.get_job_info().get_job_id()


def test_the_file_example_runs_against_the_fake_workstation(fake_workstation, tmp_path):
    example = pathlib.Path(__file__).resolve().parents[2] / "examples" / "xml_file_example.py"
    path = tmp_path / "cv.xml"
    done = subprocess.run([sys.executable, str(example), fake_workstation.host, fake_workstation.port, str(path)],
                          capture_output=True, text=True, timeout=120)
    assert done.returncode == 0, done.stderr
    assert "read back format version 4" in done.stdout
    assert type(mx.MXmlImporter().import_from_file(path).object) is mx.Measurement
