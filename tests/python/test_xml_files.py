"""Standalone XML files from Python: format versions, file information,
export options, the exporter's texts, files and element trees, the importer's
plain and typed imports, and every error a file can give."""

import os
import resource
import signal
import xml.etree.ElementTree as ET

import pytest

import marlek_link as ml
from marlek_link import xml as mx

from dataset_helpers import dc_header
from file_fixtures import DC_COLUMNS, EIS_IMPEDANCE, EIS_META, dc_dataset, eis_dataset
from support.decimal_comma import decimal_comma  # noqa: F401 (fixture)
from support.error_codes import code

RESOURCE_CONTENT_INVALID = 0x20002
TYPE_NAME_UNKNOWN = 0x2003
FILE_NOT_FOUND = 0x80000
FILE_COULD_NOT_BE_OPENED = 0x80001
FILE_COULD_NOT_BE_WRITTEN = 0x80004
FILE_IS_EMPTY = 0x80005
FILE_VERSION_NOT_SUPPORTED = 0x80006
MISMATCH = "imported object type does not match the requested type"


def with_version(text, version):
    return text.replace("<file-version>4</file-version>", f"<file-version>{version}</file-version>")


@pytest.fixture
def dc(testing):
    return dc_dataset(testing)


@pytest.fixture
def eis(testing):
    return eis_dataset(testing)


def test_what_can_be_written_as_xml():
    assert ml.DataSet.__bases__ == (ml.AbstractDataset, mx.XmlSerializable)
    for cls in (ml.DcDataset, ml.EisDataset, mx.Measurement, mx.MarlekFileInfo):
        assert issubclass(cls, mx.XmlSerializable)
    for cls in (mx.ImportedFile, mx.ExportOptions, mx.MXmlExporter, mx.MXmlImporter, ml.MrbImporter):
        assert not issubclass(cls, mx.XmlSerializable)
    assert mx.Measurement.__module__ == "_marlek_link.xml" and ml.MrbImporter.__module__ == "_marlek_link"


def test_format_versions():
    assert (mx.XmlFormatVersion.CURRENT, mx.XmlFormatVersion.MINIMUM_SUPPORTED) == (4, 1)
    assert mx.XmlFormatVersion.supported_range() == "1..4"
    assert [mx.XmlFormatVersion.is_supported(v) for v in (0, 1, 4, 5, 2**64 - 1)] == [False, True, True, False, False]
    for bad in (-1, 2.0, 2**64, "2"):
        with pytest.raises(TypeError):
            mx.XmlFormatVersion.is_supported(bad)
    for cls in (mx.XmlFormatVersion, mx.XmlSerializable, mx.ImportedFile):
        with pytest.raises(TypeError):
            cls()


def test_file_info_fields_and_text_arguments():
    info = mx.MarlekFileInfo()
    assert isinstance(info, mx.XmlSerializable)
    assert mx.MarlekFileInfo.XML_ELEMENT_NAME == "marlek-fileinfo" and mx.MarlekFileInfo.INVALID_FILE_VERSION == 0
    assert (info.type, info.file_version, info.creation_timestamp, info.generator, info.generator_version,
            info.comment) == ("", 0, "", "", "", "")
    info.comment = "µ-Probe"
    info.generator = b"raw"
    info.generator_version = bytearray(b"1.2")
    info.file_version = 2**64 - 1
    assert (info.comment, info.generator, info.generator_version, info.file_version) == ("µ-Probe", "raw", "1.2",
                                                                                           2**64 - 1)
    for field, bad in (("comment", 5), ("comment", None), ("file_version", -1), ("file_version", 2**64)):
        with pytest.raises(TypeError):
            setattr(info, field, bad)
    assert info.comment == "µ-Probe" and info.file_version == 2**64 - 1
    info.comment = b"\xff"
    assert info.comment == "\ufffd"
    with pytest.raises(AttributeError):
        info.other = 1


def test_export_options_and_exporter_settings():
    options = mx.ExportOptions()
    assert (options.generator, options.generator_version, options.compact_xml) == ("lib_marlek_link", "0.1", False)
    with pytest.raises(TypeError):
        mx.ExportOptions("x")

    exporter = mx.MXmlExporter()
    assert (exporter.get_generator(), exporter.get_generator_version(), exporter.produces_compact_xml()) == (
        "lib_marlek_link", "0.1", False)
    assert not mx.MXmlExporter("app", "2").produces_compact_xml()
    assert mx.MXmlExporter("app", b"2", True).produces_compact_xml()
    assert mx.MXmlExporter.get_file_version() == 4 == exporter.get_file_version()
    with pytest.raises(TypeError):
        mx.MXmlExporter("app")

    options.generator = "mine"
    exporter = mx.MXmlExporter(options)
    options.generator = "changed"
    exporter.get_options().generator = "changed"
    assert exporter.get_generator() == "mine"
    exporter.set_options(options)
    options.generator = "later"
    assert exporter.get_generator() == "changed"
    exporter.set_compact_xml()
    assert exporter.produces_compact_xml()
    exporter.set_compact_xml(False)
    exporter.set_generator("g")
    exporter.set_generator_version(bytearray(b"v"))
    assert (exporter.get_generator(), exporter.get_generator_version(), exporter.produces_compact_xml()) == (
        "g", "v", False)


@pytest.mark.parametrize("kind", ["dc", "eis"])
def test_dataset_round_trips_through_memory_and_files(request, tmp_path, kind):
    dataset = request.getfixturevalue(kind)
    exporter = mx.MXmlExporter("round-trip", "7")
    importer = mx.MXmlImporter()
    typed = {"dc": ("as_dc_dataset", ml.DcDataset), "eis": ("as_eis_dataset", ml.EisDataset)}[kind]

    text = exporter.serialize_as_file_standalone(dataset, "a comment")
    imported = getattr(importer, f"import_from_memory_{typed[0]}")(text.encode())
    assert isinstance(imported, mx.ImportedFile) and type(imported.object) is typed[1]
    info = imported.file_info
    assert (info.type, info.file_version, info.generator, info.generator_version, info.comment) == (
        "dataset", 4, "round-trip", "7", "a comment")

    path = tmp_path / "deep" / "er" / f"{kind}.xml"
    assert not exporter.save_as_file_standalone(dataset, path)
    for name in (path, str(path), os.fsencode(path)):
        again = getattr(importer, f"import_from_file_{typed[0]}")(name)
        assert type(again.object) is typed[1]
    check_same_data(kind, dataset, again.object)

    bare = importer.deserialize(exporter.serialize(dataset).encode())
    assert type(bare) is typed[1]
    check_same_data(kind, dataset, bare)


def check_same_data(kind, written, read):
    assert read.get_row_count() == written.get_row_count()
    if kind == "dc":
        assert read.get_tracks() == [list(c) for c in DC_COLUMNS]
        assert read.get_job_info().get_job_id() == "job-dc-1"
    else:
        assert read.get_frequencies() == EIS_META[0]
        assert read.get_impedance_data().get_track("|impedance|") == EIS_IMPEDANCE[0]
        assert [read.get_wave_for_row("voltage", r) for r in (0, 1)] == [[1.0, 2.0], [3.0]]


@pytest.mark.parametrize("kind", ["dc", "eis"])
def test_files_do_not_depend_on_the_locale(request, tmp_path, kind):
    dataset = request.getfixturevalue(kind)
    exporter = mx.MXmlExporter("locale", "1")
    in_the_c_locale = exporter.serialize(dataset)

    request.getfixturevalue("decimal_comma")
    assert exporter.serialize(dataset) == in_the_c_locale
    path = tmp_path / f"{kind}.xml"
    assert not exporter.save_as_file_standalone(dataset, path)
    check_same_data(kind, dataset, mx.MXmlImporter().import_from_file(path).object)


def test_imported_file_info_is_a_view_and_the_object_is_shared(dc):
    imported = mx.MXmlImporter().import_from_memory(mx.MXmlExporter().serialize_as_file_standalone(dc).encode())
    imported.file_info.comment = "changed"
    assert imported.file_info.comment == "changed"
    info = imported.file_info
    del imported
    assert info.comment == "changed"


def test_element_tree_describes_the_standalone_document(dc):
    exporter = mx.MXmlExporter(compact_xml=True, generator="g", generator_version="1")
    root = exporter.get_xml_element_tree(dc, "note")
    assert isinstance(root, ET.Element) and root.tag == "dataset"
    assert [child.tag for child in root] == ["marlek-fileinfo", "dataset"]
    assert root.find("marlek-fileinfo/comment").text == "note"
    text = exporter.serialize_as_file_standalone(dc, "note")
    parsed = ET.fromstring(text)
    for element in (root, parsed):
        element.find("marlek-fileinfo").remove(element.find("marlek-fileinfo/creation-timestamp"))
    assert ET.tostring(root) == ET.tostring(parsed)
    assert "\n" not in text.split("?>", 1)[1].split("<![CDATA[")[0].strip()


def test_texts_that_xml_treats_specially_survive_files_and_element_trees(testing):
    names = ["end]]>of <section> & more", "carriage\rreturn", "", " "]
    dataset = testing.dc_dataset(dc_header(*names), [[1.0, 2.0]] * len(names), "")
    exporter = mx.MXmlExporter()
    root = exporter.get_xml_element_tree(dataset, "a\r\nb")
    assert root.find("marlek-fileinfo/comment").text == "a\r\nb"
    assert [c.get("name") for c in root.iter("column")] == names
    read = mx.MXmlImporter().import_from_memory(exporter.serialize_as_file_standalone(dataset, "a\r\nb").encode())
    assert read.file_info.comment == "a\r\nb"
    assert [c.get_dimension() for c in read.object.get_header().get_columns()] == names
    assert read.object.get_tracks() == [[1.0, 2.0]] * len(names)


def test_serializable_arguments_are_checked(dc):
    exporter = mx.MXmlExporter()
    for method in ("serialize", "serialize_as_file_standalone", "get_xml_element_tree"):
        for bad in (None, "text", mx.ExportOptions()):
            with pytest.raises(TypeError):
                getattr(exporter, method)(bad)
    with pytest.raises(TypeError):
        exporter.save_as_file_standalone(dc, 42)
    assert exporter.serialize(mx.MarlekFileInfo()).startswith("<marlek-fileinfo")


def test_data_arguments_must_be_bytes(dc, tmp_path):
    text = mx.MXmlExporter().serialize_as_file_standalone(dc)
    importer = mx.MXmlImporter()
    for method in ("import_from_memory", "import_from_memory_as_dc_dataset", "deserialize"):
        for bad in (text, bytearray(text.encode()), memoryview(text.encode()), None):
            with pytest.raises(TypeError):
                getattr(importer, method)(bad)
    assert isinstance(importer.import_from_memory(text.encode()), mx.ImportedFile)
    for bad in (None, 3):
        with pytest.raises(TypeError):
            importer.import_from_file(bad)


def test_typed_imports_refuse_other_classes(dc, tmp_path):
    text = mx.MXmlExporter().serialize_as_file_standalone(mx.Measurement(dc)).encode()
    importer = mx.MXmlImporter()
    assert type(importer.import_from_memory_as_measurement(text).object) is mx.Measurement
    path = tmp_path / "m.xml"
    path.write_bytes(text)
    for error in (importer.import_from_memory_as_dc_dataset(text), importer.import_from_memory_as_eis_dataset(text),
                  importer.import_from_file_as_dc_dataset(path), importer.import_from_file_as_eis_dataset(path)):
        assert code(error) == RESOURCE_CONTENT_INVALID
        assert error.get_message_format_string() == "resource content invalid: {0}"
        assert [str(p) for p in error.get_message_parameters()] == [MISMATCH]
    dc_text = mx.MXmlExporter().serialize_as_file_standalone(dc).encode()
    assert code(importer.import_from_memory_as_measurement(dc_text)) == RESOURCE_CONTENT_INVALID


def file_cases(dc_text):
    return {
        "missing file": (None, FILE_NOT_FOUND),
        "directory": ("<dir>", FILE_NOT_FOUND),
        "empty file": (b"", FILE_IS_EMPTY),
        "not XML": (b"just text", RESOURCE_CONTENT_INVALID),
        "no file information": (b"<dataset><x/></dataset>", RESOURCE_CONTENT_INVALID),
        "version 0": (with_version(dc_text, 0).encode(), FILE_VERSION_NOT_SUPPORTED),
        "version 5": (with_version(dc_text, 5).encode(), FILE_VERSION_NOT_SUPPORTED),
        "unknown type": (dc_text.replace("<type>dataset</type>", "<type>thing</type>").replace("<dataset", "<thing")
                         .replace("</dataset>", "</thing>").encode(), TYPE_NAME_UNKNOWN),
    }


@pytest.mark.parametrize("case", ["missing file", "directory", "empty file", "not XML", "no file information",
                                  "version 0", "version 5", "unknown type"])
def test_every_failure_comes_back_as_an_error_object(dc, tmp_path, case):
    content, expected = file_cases(mx.MXmlExporter().serialize_as_file_standalone(dc))[case]
    path = tmp_path / "file.xml"
    if content == "<dir>":
        path.mkdir()
    elif content is not None:
        path.write_bytes(content)
    importer = mx.MXmlImporter()
    for method in ("import_from_file", "import_from_file_as_measurement", "import_from_file_as_dc_dataset",
                   "import_from_file_as_eis_dataset"):
        assert code(getattr(importer, method)(path)) == expected, method
    if isinstance(content, bytes):
        from_memory = importer.import_from_memory(content)
        assert code(from_memory) == (RESOURCE_CONTENT_INVALID if expected == FILE_IS_EMPTY else expected)


def test_unsupported_version_names_memory_and_range_but_its_file_info_reads(dc, tmp_path):
    text = with_version(mx.MXmlExporter().serialize_as_file_standalone(dc), 5)
    error = mx.MXmlImporter().import_from_memory(text.encode())
    assert code(error) == FILE_VERSION_NOT_SUPPORTED
    assert [str(p) for p in error.get_message_parameters()][0] == "<memory>"
    assert "1..4" in error.get_message_formatted()
    path = tmp_path / "v5.xml"
    path.write_text(text, encoding="utf-8")
    info = mx.MXmlImporter().read_file_info(path)
    assert info.file_version == 5 and not mx.XmlFormatVersion.is_supported(info.file_version)


def test_read_file_info_looks_at_the_first_64_kib_only(dc, tmp_path):
    text = mx.MXmlExporter().serialize_as_file_standalone(dc, "head")
    head, rest = text.split("<marlek-fileinfo>", 1)
    importer = mx.MXmlImporter()
    near = tmp_path / "near.xml"
    near.write_text(head + "<!--" + "x" * (65536 - len(head) - 2000) + "-->" + "<marlek-fileinfo>" + rest + " " * 100000,
                    encoding="utf-8")
    assert importer.read_file_info(near).comment == "head"
    far = tmp_path / "far.xml"
    far.write_text(head + "<!--" + "x" * 70000 + "-->" + "<marlek-fileinfo>" + rest, encoding="utf-8")
    assert code(importer.read_file_info(far)) == RESOURCE_CONTENT_INVALID
    assert type(importer.import_from_file(far).object) is ml.DcDataset
    assert code(importer.read_file_info(tmp_path / "none.xml")) == FILE_NOT_FOUND


def test_save_creates_only_missing_folders_and_replaces_files(dc, eis, tmp_path):
    exporter = mx.MXmlExporter()
    existing = tmp_path / "kept"
    existing.mkdir()
    marker = existing / "other.txt"
    marker.write_text("stays")
    path = existing / "new" / "file.xml"
    assert not exporter.save_as_file_standalone(dc, str(path))
    assert marker.read_text() == "stays"
    assert not exporter.save_as_file_standalone(eis, path)
    assert type(mx.MXmlImporter().import_from_file(path).object) is ml.EisDataset
    assert sorted(p.name for p in path.parent.iterdir()) == ["file.xml"]


def test_a_path_below_a_regular_file_cannot_be_opened(dc, tmp_path):
    blocker = tmp_path / "plain"
    blocker.write_text("not a folder")
    for target in (blocker / "file.xml", blocker / "sub" / "file.xml"):
        error = mx.MXmlExporter().save_as_file_standalone(dc, target)
        assert error and code(error) == FILE_COULD_NOT_BE_OPENED, str(error)
        assert error.get_message_parameters() == [str(target), "could not open the file for writing", "Not a directory"]
    assert blocker.read_text() == "not a folder"


def test_saving_through_a_link_replaces_the_file_it_leads_to(dc, tmp_path):
    (tmp_path / "real").mkdir()
    run = tmp_path / "real" / "run42.xml"
    run.write_text("old")
    latest = tmp_path / "latest.xml"
    latest.symlink_to("real/run42.xml")
    assert not mx.MXmlExporter().save_as_file_standalone(dc, latest)
    assert latest.is_symlink() and os.readlink(latest) == "real/run42.xml"
    assert type(mx.MXmlImporter().import_from_file(run).object) is ml.DcDataset
    assert sorted(p.name for p in tmp_path.iterdir()) == ["latest.xml", "real"]
    assert [p.name for p in run.parent.iterdir()] == ["run42.xml"]


def test_a_failed_save_keeps_the_old_file_and_reports(testing, tmp_path):
    path = tmp_path / "file.xml"
    exporter = mx.MXmlExporter()
    assert not exporter.save_as_file_standalone(mx.MarlekFileInfo(), path, "old")
    before = path.read_bytes()
    big = testing.dc_dataset(dc_header("time", "voltage"), [[float(i) for i in range(2000)]] * 2, "")
    # Writes beyond the size limit fail (and raise no signal): works for root too.
    limits = resource.getrlimit(resource.RLIMIT_FSIZE)
    handler = signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (len(before) + 4096, limits[1]))
    try:
        error = exporter.save_as_file_standalone(big, path, "new")
    finally:
        resource.setrlimit(resource.RLIMIT_FSIZE, limits)
        signal.signal(signal.SIGXFSZ, handler)
    assert error and code(error) == FILE_COULD_NOT_BE_WRITTEN, str(error)
    assert error.get_message_parameters()[2] == "File too large"
    assert path.read_bytes() == before
    assert [p.name for p in tmp_path.iterdir()] == ["file.xml"]


def test_element_tree_comes_from_the_interpreters_parser(monkeypatch, dc):
    calls = []
    monkeypatch.setattr(ET, "fromstring", lambda text: calls.append(text) or "parsed")
    assert mx.MXmlExporter().get_xml_element_tree(dc) == "parsed"
    assert calls and calls[0].startswith("<?xml")
