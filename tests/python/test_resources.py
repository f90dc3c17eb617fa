"""Resources from Python against the fake workstation process: the handle,
the commands end to end, buffers of every layout, and failed reads that
must neither hang nor destroy what is on disk."""

import array

import pytest

import marlek_link as ml
from support.links import connected_link as connected

Codes = ml.ErrorCodeEnum
Types = ml.ResourceTypeEnum


@pytest.fixture
def link(fake_workstation):
    link = connected(fake_workstation)
    yield link
    link.disconnect()


def stored(link, name, content):
    resource = link.create_resource(Types.WAVE, name)
    assert resource.is_valid()
    assert not link.append_to_resource(resource, content)
    return resource


def test_handle_without_link():
    empty = ml.Resource()
    assert not empty.is_valid()
    assert (empty.get_id(), empty.get_name(), empty.get_type(), empty.get_size()) == ("", "", Types.UNDEFINED, 0)
    assert (empty.get_creation_date(), empty.get_last_updated_date()) == ("", "")

    named = ml.Resource.from_id(Types.WAVE, "res-9")
    assert named.is_valid()
    assert (named.get_id(), named.get_type(), named.get_name(), named.get_size()) == ("res-9", Types.WAVE, "", 0)
    assert not ml.Resource.from_id(Types.WAVE, "").is_valid()

    assert ml.Resource.DATA_CHUNK_SIZE_LIMIT == 393216 == empty.DATA_CHUNK_SIZE_LIMIT
    with pytest.raises(AttributeError):
        ml.Resource.DATA_CHUNK_SIZE_LIMIT = 1
    with pytest.raises(TypeError):
        ml.Resource.from_id(2, "res-1")


def test_commands_end_to_end(link, tmp_path):
    assert link.get_available_resources(Types.WAVE) == []

    resource = stored(link, "sweep", b"0123456789" * 100)
    assert resource.get_name() == "sweep"
    assert resource.get_type() == Types.WAVE

    listed = link.get_available_resources(Types.WAVE)
    assert [r.get_id() for r in listed] == [resource.get_id()]

    refreshed = ml.Resource.from_id(Types.WAVE, resource.get_id())
    assert not link.get_updated_resource_info(refreshed)
    assert (refreshed.get_name(), refreshed.get_size()) == ("sweep", 1000)
    assert refreshed.get_creation_date() and refreshed.get_last_updated_date()

    assert link.retrieve_resource(refreshed) == b"0123456789" * 100
    assert link.retrieve_resource(refreshed, limit=10, offset=5) == b"5678901234"
    assert link.retrieve_resource(refreshed, 0, 995) == b"56789"

    target = tmp_path / "new" / "folder" / "wave.bin"
    assert not link.download_resource_to_file(refreshed, target)
    assert target.read_bytes() == b"0123456789" * 100

    assert not link.delete_resource(refreshed)
    assert refreshed.is_valid() and refreshed.get_size() == 1000
    assert link.get_available_resources(Types.WAVE) == []
    assert link.retrieve_resource(refreshed).get_error_code_enum() == Codes.ID_NOT_FOUND


def test_large_content_and_file_upload(link, tmp_path):
    # Over two chunks each way.
    content = bytes(range(256)) * (2 * ml.Resource.DATA_CHUNK_SIZE_LIMIT // 256 + 7)
    source = tmp_path / "data" / "calibration.bin"
    source.parent.mkdir()
    source.write_bytes(content)

    resource = link.create_resource_from_file(Types.WAVE, source)
    assert resource.is_valid()
    assert resource.get_name() == "calibration.bin"
    assert not link.get_updated_resource_info(resource)
    assert link.retrieve_resource(resource) == content

    renamed = link.create_resource_from_file(Types.WAVE, str(source).encode(), resource_name="other")
    assert renamed.get_name() == "other"
    assert not link.create_resource_from_file(Types.WAVE, tmp_path / "missing.bin").is_valid()


@pytest.mark.parametrize(
    "make_data, expected",
    [
        (lambda: bytearray(b"abc"), b"abc"),
        (lambda: memoryview(b"abcdef"), b"abcdef"),
        (lambda: memoryview(b"abcdefgh")[::2], b"aceg"),
        (lambda: memoryview(b"abcdefgh")[::-3], b"heb"),
        (lambda: array.array("h", [1, -2]), array.array("h", [1, -2]).tobytes()),
        (lambda: memoryview(array.array("i", [1, 2, 3, 4]))[1::2], array.array("i", [2, 4]).tobytes()),
        (lambda: b"", b""),
    ],
    ids=["bytearray", "memoryview", "every-second", "reversed", "array", "strided-ints", "empty"],
)
def test_buffers_upload_their_logical_content(link, make_data, expected):
    resource = stored(link, "buffer", make_data())
    assert not link.get_updated_resource_info(resource)
    assert link.retrieve_resource(resource) == expected


def test_refused_arguments(link):
    resource = stored(link, "args", b"x")
    for call in [
        lambda: link.append_to_resource(resource, "text"),
        lambda: link.append_to_resource(None, b"x"),
        lambda: link.retrieve_resource(resource, -1),
        lambda: link.retrieve_resource(resource, 1.5),
        lambda: link.create_resource(1, "name"),
        lambda: link.get_available_resources(None),
    ]:
        with pytest.raises(TypeError):
            call()


def test_failures(fake_workstation, link):
    fake_workstation.command(**{"do": "fail", "command": "/WAVE/create"})
    refused = link.create_resource(Types.WAVE, "refused")
    assert isinstance(refused, ml.Resource) and not refused.is_valid()

    never = ml.MarlekLink(fake_workstation.host, fake_workstation.port)
    for result in [
        never.create_resource(Types.WAVE, "x"),
        never.get_available_resources(Types.WAVE),
        never.retrieve_resource(ml.Resource.from_id(Types.WAVE, "res-1")),
        never.append_to_resource(ml.Resource.from_id(Types.WAVE, "res-1"), b"x"),
    ]:
        assert isinstance(result, ml.ErrorObject)
        assert result.get_error_code_enum() == Codes.CONNECTION_NOT_ESTABLISHED


@pytest.mark.parametrize(
    "script",
    [{"do": "fail", "command": "/WAVE/get"}, {"do": "extra", "command": "/WAVE/get", "keys": {"data": ""}}],
    ids=["refused-read", "reply-without-data"],
)
def test_failed_read_keeps_existing_file(fake_workstation, link, tmp_path, script):
    resource = stored(link, "kept", b"new content")
    folder = tmp_path / "out"
    folder.mkdir()
    target = folder / "result.bin"
    target.write_bytes(b"old content")
    fake_workstation.command(**script)

    # A reply without data ends the read with an error instead of asking
    # again forever.
    assert link.retrieve_resource(resource, limit=4)
    assert link.download_resource_to_file(resource, target)
    assert target.read_bytes() == b"old content"
    assert [p.name for p in folder.iterdir()] == ["result.bin"]

    fake_workstation.command(do="normal")
    assert not link.download_resource_to_file(resource, target)
    assert target.read_bytes() == b"new content"


def test_download_into_a_folder_fails_cleanly(link, tmp_path):
    resource = stored(link, "folder", b"abc")
    parent = tmp_path / "out"
    folder = parent / "sub"
    folder.mkdir(parents=True)
    assert link.download_resource_to_file(resource, folder)
    assert [p.name for p in parent.iterdir()] == ["sub"] and list(folder.iterdir()) == []
