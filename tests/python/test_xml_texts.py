"""Texts that XML 1.0 cannot carry: the exporter refuses the object before it
writes anything, naming the element or attribute and the character, so that
every file it writes is well-formed and reads back as saved. Files that
already hold such characters still read."""

import json
import xml.etree.ElementTree as ET

import pytest

from marlek_link import xml as mx

from dataset_helpers import dc_header
from support.error_codes import code

RESOURCE_CONTENT_INVALID = 0x20002
REFUSED = "resource content invalid: the object would not read back from its XML: "
NOT_XML = ", which XML 1.0 cannot carry"


def dc(testing, name="voltage", unit="V", urn="MAIN:1:POT", job_info=None):
    header = json.loads(dc_header("time", "voltage"))
    header["columns"] = {"dimensions": ["time", name], "units": ["s", unit], "urns": ["MAIN:1:TIME", urn]}
    return testing.dc_dataset(json.dumps(header), [[0.0, 1.0], [0.5, 1.5]],
                              json.dumps(job_info or {"job_id": "job-1"}))


# Each case: the dataset, the exporter, the comment, and what the error names.
CASES = {
    "nul in a column name": (dict(name="volt\0age"), {}, "", "<column> attribute 'name' holds U+0000" + NOT_XML),
    "vertical tab in a unit": (dict(unit="\v"), {}, "", "<column> attribute 'unit' holds U+000B" + NOT_XML),
    "U+FFFF in a urn": (dict(urn="MAIN\uffff"), {}, "", "<column> attribute 'urn' holds U+FFFF" + NOT_XML),
    "form feed in the job id": (dict(job_info={"job_id": "j\f"}), {}, "",
                                "the text of <job-id> holds U+000C" + NOT_XML),
    "nul in a job meta key": (dict(job_info={"job_id": "j", "job_meta": {"k\0": "v"}}), {}, "",
                              "<entry> attribute 'name' holds U+0000" + NOT_XML),
    "U+FFFE in a job meta value": (dict(job_info={"job_id": "j", "job_meta": {"k": "\ufffe"}}), {}, "",
                                   "<entry> attribute 'value' holds U+FFFE" + NOT_XML),
    "bytes that are not UTF-8 in the generator": ({}, dict(generator=b"gen\xff", generator_version="1"), "",
                                                  "the text of <generator> holds the byte 0xFF, which is not UTF-8"),
    "a surrogate in UTF-8 in the comment": ({}, {}, b"note \xed\xa0\x80",
                                            "the text of <comment> holds U+D800" + NOT_XML),
    "nul in the comment": ({}, {}, "note\0", "the text of <comment> holds U+0000" + NOT_XML),
}


@pytest.mark.parametrize("dataset_args, exporter_args, comment, problem", CASES.values(), ids=CASES.keys())
def test_the_exporter_refuses_the_object_and_writes_nothing(testing, tmp_path, dataset_args, exporter_args, comment,
                                                            problem):
    dataset = dc(testing, **dataset_args)
    exporter = mx.MXmlExporter(**exporter_args) if exporter_args else mx.MXmlExporter()
    results = [exporter.serialize_as_file_standalone(dataset, comment)]
    if not exporter_args and not comment:
        results.append(exporter.serialize(dataset))
    fresh = tmp_path / "fresh.xml"
    results.append(exporter.save_as_file_standalone(dataset, fresh, comment))
    existing = tmp_path / "existing.xml"
    existing.write_bytes(b"old content")
    results.append(exporter.save_as_file_standalone(dataset, existing, comment))
    for error in results:
        assert code(error) == RESOURCE_CONTENT_INVALID
        assert str(error) == REFUSED + problem
    assert not fresh.exists()
    assert existing.read_bytes() == b"old content"
    assert [p.name for p in tmp_path.iterdir()] == ["existing.xml"]
    with pytest.raises(ValueError, match="U\\+|the byte"):
        exporter.get_xml_element_tree(dataset, comment)


def test_a_nul_no_longer_cuts_the_table_short(testing, tmp_path):
    """Saving once reported success, and the file was refused on reading: its
    table ended at the NUL."""
    path = tmp_path / "cut.xml"
    assert mx.MXmlExporter().save_as_file_standalone(dc(testing, name="a\0b"), path)
    assert not path.exists()


def test_what_xml_carries_is_saved_and_reads_back(testing, tmp_path):
    text = "a\tb\nc\rd\x7f\x85\ufffd\U0001f600"
    dataset = dc(testing, name=text, unit=text, urn=text, job_info={"job_id": text, "job_meta": {text: text}})
    path = tmp_path / "carried.xml"
    assert not mx.MXmlExporter(generator=text, generator_version="1").save_as_file_standalone(dataset, path, text)
    ET.parse(path)
    imported = mx.MXmlImporter().import_from_file(path)
    assert imported.file_info.generator == text and imported.file_info.comment == text
    read = imported.object
    assert read.get_dc_dimensions() == ["time", text]
    assert [(c.get_unit(), c.get_urn()) for c in read.get_header().get_columns()][1] == (text, text)
    assert read.get_job_info().get_job_id() == text


def test_files_that_hold_such_characters_still_read(testing):
    exported = mx.MXmlExporter().serialize_as_file_standalone(dc(testing), "note").encode()
    document = (exported.replace(b"voltage", b"volt\x0bage").replace(b"<comment>note", b"<comment>note\x01")
                .replace(b"job-1", b"job\xef\xbf\xbf"))
    imported = mx.MXmlImporter().import_from_memory(document)
    assert imported.file_info.comment == "note\x01"
    assert imported.object.get_dc_dimensions() == ["time", "volt\x0bage"]
    assert imported.object.get_job_info().get_job_id() == "job\uffff"
