"""Text from files that is not UTF-8 reaches Python as str, each bad byte as
U+FFFD, while the data itself keeps its bytes."""

import pytest

from marlek_link import xml as mx

from file_fixtures import dc_dataset, eis_dataset

REPLACED = "curr\ufffdnt"


@pytest.mark.parametrize("document", [b"<a\xf6 b=1/>", b"<root><n\xe4me x=1/></root>", b"<x\xc3 y=0/>"])
def test_parser_errors_quoting_bad_bytes_are_text(document):
    error = mx.MXmlImporter().import_from_memory(document)
    assert error
    for text in (str(error), error.get_message_formatted()):
        assert isinstance(text, str) and "\ufffd" in text
    assert all(isinstance(p, (str, int, float, bool)) for p in error.get_message_parameters())
    print(error)


@pytest.fixture
def garbled(testing, tmp_path):
    """An impedance dataset read from a file whose path names, attributes and
    job id hold a byte that is not UTF-8."""
    exported = mx.MXmlExporter().serialize_as_file_standalone(eis_dataset(testing)).encode()
    assert b"current" in exported and b"<job-id></job-id>" in exported
    document = exported.replace(b"current", b"curr\xf6nt").replace(b"<job-id></job-id>", b"<job-id>j\xf6b</job-id>")
    imported = mx.MXmlImporter().import_from_memory(document)
    assert not isinstance(imported, type(mx.MXmlImporter().import_from_memory(b"<")))
    return imported.object


def test_dataset_getters_return_text(garbled):
    assert garbled.get_impedances_dimensions() == [("voltage", REPLACED)]
    impedances = garbled.get_impedances_data()
    assert list(impedances) == [("voltage", REPLACED)]
    (impedance,) = impedances.values()
    assert (impedance.get_numerator_dimension(), impedance.get_denominator_dimension()) == ("voltage", REPLACED)
    assert impedance.get_impedance_name() == f"voltage/{REPLACED}"
    assert sorted(garbled.get_paths_dimensions()) == sorted(["voltage", REPLACED])
    assert REPLACED in garbled.get_paths_data()
    assert garbled.get_paths_data()[REPLACED].get_dimension() == REPLACED
    assert garbled.get_job_info().get_job_id() == "j\ufffdb"


def test_bytes_that_are_not_utf8_are_not_written_again(garbled, tmp_path):
    """A file declared UTF-8 that holds them is malformed for every standard
    parser: the exporter names the first and writes nothing."""
    for error in (mx.MXmlExporter().serialize_as_file_standalone(garbled),
                  mx.MXmlExporter().save_as_file_standalone(garbled, tmp_path / "garbled.xml")):
        assert str(error).endswith("holds the byte 0xF6, which is not UTF-8")
    assert not (tmp_path / "garbled.xml").exists()


def test_dc_names_and_summaries_are_text(testing):
    exported = mx.MXmlExporter().serialize_as_file_standalone(dc_dataset(testing)).encode()
    assert b'job-type="Cyclic Voltammetry"' in exported
    document = exported.replace(b"voltage", b"volt\xe4ge").replace(b"Cyclic Voltammetry", b"Cyclic \xff")
    dataset = mx.MXmlImporter().import_from_memory(document).object
    assert dataset.get_dc_dimensions() == ["time", "volt\ufffdge"]
    assert list(dataset.get_dc_tracks()) == ["time", "volt\ufffdge"]
    assert [c.get_dimension() for c in dataset.get_header().get_columns()] == ["time", "volt\ufffdge"]
    assert dataset.get_header().get_type() == "Cyclic \ufffd"
    assert dataset.get_info().job_type == "Cyclic \ufffd"
