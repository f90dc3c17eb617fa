"""The Python toolchain the module is built with: CPython 3.13, pybind11 3.0.x
and the pinned Boost headers, all from the project's venv."""

import json
import os
import pathlib
import sys
from importlib.metadata import version

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("MARLEK_BUILD_DIR", ROOT / "build"))


def test_interpreter_is_cpython_313():
    assert sys.implementation.name == "cpython"
    assert sys.version_info[:2] == (3, 13)


def test_pybind11_is_a_30_release():
    major, minor, *_ = version("pybind11").split(".")
    assert (major, minor) == ("3", "0")


def test_cmake_found_this_interpreter_its_headers_and_the_pinned_boost():
    found = json.loads((BUILD / "python-toolchain.json").read_text())
    assert pathlib.Path(found["python_executable"]) == ROOT / ".venv" / "bin" / "python"
    assert found["python_version"].startswith("3.13.")
    assert (pathlib.Path(found["python_include_dirs"].split(";")[0]) / "Python.h").is_file()
    assert found["pybind11_version"] == version("pybind11")
    assert (pathlib.Path(found["boost_include_dir"]) / "boost" / "version.hpp").is_file()
    assert version("cmeel-boost") == "1.90.0"
