"""MrbImporter from Python: ".mrb" snapshots read from bytes and from str,
bytes and path-like file names, typed imports, the protocol-version check and
the errors of a bad file, all returned as ErrorObject values."""

import json
import os
import xml.etree.ElementTree as ET

import pytest

import marlek_link as ml
from marlek_link import xml as mx

from dataset_helpers import eis_header, eis_table
from file_fixtures import (DC_COLUMNS, EIS_IMPEDANCE, EIS_META, EIS_PATHS, EIS_WAVES, PROTOCOL_VERSION, dc_snapshot,
                           eis_snapshot, snapshot)
from support.error_codes import code

RESOURCE_CONTENT_INVALID = 0x20002
JSON_MALFORMED = 0x2000
PROTOCOL_VERSION_MISMATCH = 0x100C
FILE_NOT_FOUND = 0x80000
FILE_IS_EMPTY = 0x80005
MISMATCH = "imported dataset type does not match the requested type"


def test_the_ignore_flag():
    assert not ml.MrbImporter().get_ignore_protocol_version_mismatch()
    assert ml.MrbImporter(True).get_ignore_protocol_version_mismatch()
    importer = ml.MrbImporter(ignore_protocol_version_mismatch=True)
    assert importer.get_ignore_protocol_version_mismatch()
    importer.set_ignore_protocol_version_mismatch(False)
    assert not importer.get_ignore_protocol_version_mismatch()


def test_snapshots_from_memory_come_back_as_their_class():
    importer = ml.MrbImporter()
    dc = importer.import_from_memory(dc_snapshot())
    assert type(dc) is ml.DcDataset
    assert dc.get_tracks() == [list(c) for c in DC_COLUMNS] and dc.get_job_info().get_job_id() == "job-dc-1"
    eis = importer.import_from_memory_as_eis_dataset(eis_snapshot())
    assert type(eis) is ml.EisDataset and eis.get_frequencies() == EIS_META[0]
    assert importer.import_from_memory(dc_snapshot()) is not importer.import_from_memory(dc_snapshot())


def test_snapshot_files_by_str_bytes_and_path(tmp_path):
    path = tmp_path / "run.mrb"
    path.write_bytes(eis_snapshot())
    importer = ml.MrbImporter()
    for name in (path, str(path), os.fsencode(path)):
        assert type(importer.import_from_file(name)) is ml.EisDataset
        assert type(importer.import_from_file_as_eis_dataset(name)) is ml.EisDataset
    for bad in (None, 3):
        with pytest.raises(TypeError):
            importer.import_from_file(bad)


def test_typed_imports_refuse_the_other_kind(tmp_path):
    importer = ml.MrbImporter()
    path = tmp_path / "dc.mrb"
    path.write_bytes(dc_snapshot())
    for error in (importer.import_from_memory_as_eis_dataset(dc_snapshot()),
                  importer.import_from_memory_as_dc_dataset(eis_snapshot()),
                  importer.import_from_file_as_eis_dataset(path)):
        assert code(error) == RESOURCE_CONTENT_INVALID
        assert error.get_message_format_string() == "resource content invalid: {0}"
        assert [str(p) for p in error.get_message_parameters()] == [MISMATCH]
    assert type(importer.import_from_file_as_dc_dataset(path)) is ml.DcDataset


def test_data_must_be_bytes():
    importer = ml.MrbImporter()
    content = dc_snapshot()
    for method in ("import_from_memory", "import_from_memory_as_dc_dataset", "import_from_memory_as_eis_dataset"):
        for bad in (bytearray(content), memoryview(content), content.decode("latin-1"), None):
            with pytest.raises(TypeError):
                getattr(importer, method)(bad)


def test_a_newer_protocol_version_is_refused_unless_ignored():
    newer = dc_snapshot(PROTOCOL_VERSION + 1)
    assert code(ml.MrbImporter().import_from_memory(newer)) == PROTOCOL_VERSION_MISMATCH
    assert type(ml.MrbImporter(True).import_from_memory(newer)) is ml.DcDataset
    assert type(ml.MrbImporter().import_from_memory(dc_snapshot(PROTOCOL_VERSION - 1))) is ml.DcDataset


@pytest.mark.parametrize("content, expected", [
    (b"", RESOURCE_CONTENT_INVALID),
    (b'{"sub_type": "DATASET_DC"}', RESOURCE_CONTENT_INVALID),
    (b"{not json\0" + b"\0" * 8, JSON_MALFORMED),
    (dc_snapshot().replace(b'"DATASET_DC"', b'"DATASET_XY"'), RESOURCE_CONTENT_INVALID),
    (dc_snapshot()[:-5], RESOURCE_CONTENT_INVALID),
], ids=["empty", "no separator", "not JSON", "unknown sub type", "short payload"])
def test_bad_snapshots_give_error_objects(tmp_path, content, expected):
    assert code(ml.MrbImporter().import_from_memory(content)) == expected
    path = tmp_path / "bad.mrb"
    path.write_bytes(content)
    assert code(ml.MrbImporter().import_from_file(path)) == (FILE_IS_EMPTY if not content else expected)


def test_missing_files(tmp_path):
    importer = ml.MrbImporter()
    for method in ("import_from_file", "import_from_file_as_dc_dataset", "import_from_file_as_eis_dataset"):
        assert code(getattr(importer, method)(tmp_path / "missing.mrb")) == FILE_NOT_FOUND


# Numbers that a parser converting loosely reads one unit in the last place off.
EXACT_COEFFICIENTS = [-934.3173604624975, 0.1, 2.2250738585072014e-308, -1.2345678901234567e-5]


def written_coefficients(dataset):
    """The path polynomials' coefficients as the exporter writes them."""
    root = ET.fromstring(mx.MXmlExporter().serialize(dataset))
    return [[float(c.text) for c in path.iter("coefficient")]
            for path in root.iter("column-class") if path.get("type") == "path"]


def test_header_numbers_are_read_exactly(testing):
    header = json.loads(eis_header())
    header["paths"][0]["polynomial"] = EXACT_COEFFICIENTS
    table = eis_table(EIS_META, [EIS_IMPEDANCE], EIS_PATHS, EIS_WAVES)
    snapshot_bytes = snapshot({
        "sub_type": "DATASET_AC",
        "workstation_info": {"protocol_version": PROTOCOL_VERSION},
        "header": {"job_data_header": header, "number_of_rows": 2},
    }, table)
    imported = ml.MrbImporter().import_from_memory(snapshot_bytes)
    assert written_coefficients(imported)[0] == EXACT_COEFFICIENTS
    built = testing.eis_dataset_from_binary(table, json.dumps(header), 2, "")
    assert written_coefficients(built)[0] == EXACT_COEFFICIENTS
