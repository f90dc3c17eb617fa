"""The installed distribution: one version everywhere, the whole API in
__all__, type information for mypy and editors, and no debug information in
the extension module."""

import pathlib
import pydoc
import subprocess
from importlib.metadata import distribution, version

import _marlek_link
import marlek_link


def test_distribution_module_and_library_tell_the_same_version():
    library = marlek_link.MarlekLink.get_library_revision()
    assert library == "1.0.0+a1b2c3d4"
    assert marlek_link.__version__ == library
    assert version("marlek_link") == library


def test_all_names_every_public_name_of_the_extension_module():
    public = {name for name in vars(_marlek_link) if not name.startswith("_")}
    assert set(marlek_link.__all__) == public
    assert len(marlek_link.__all__) == len(public)
    for name in marlek_link.__all__:
        assert getattr(marlek_link, name) is getattr(_marlek_link, name)
    assert {"MarlekLink", "MarlekLinkExc", "ErrorObject", "meas", "xml"} <= public


def test_help_lists_the_classes():
    text = pydoc.render_doc(marlek_link, renderer=pydoc.plaintext)
    for name in ("MarlekLink", "MarlekLinkExc", "MarlekLinkEventHandler", "DcDataset"):
        assert f"class {name}" in text


def test_wheel_ships_py_typed_and_stubs_of_every_submodule():
    files = {str(file) for file in distribution("marlek_link").files}
    assert "marlek_link/py.typed" in files
    for stub in ("__init__.pyi", "meas/__init__.pyi", "meas/stop.pyi", "xml.pyi", "control.pyi", "calibration.pyi"):
        for package in ("_marlek_link-stubs", "marlek_link"):
            assert any(name in files for name in (f"{package}/{stub}", f"{package}/{stub[:-4]}/__init__.pyi")), stub
    stub = pathlib.Path(distribution("marlek_link").locate_file("_marlek_link-stubs/__init__.pyi")).read_text()
    assert "class MarlekLink:" in stub
    assert "def connect(self) -> ErrorObject:" in stub


def test_extension_module_carries_no_debug_information():
    sections = subprocess.run(
        ["readelf", "--section-headers", "--wide", _marlek_link.__file__],
        capture_output=True, text=True, check=True,
    ).stdout
    assert ".text" in sections
    assert ".debug_info" not in sections
    assert ".symtab" not in sections
