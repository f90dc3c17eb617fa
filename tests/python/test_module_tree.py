"""The installed package: the module tree, its names and its two plain
functions."""

import importlib
import math
import pickle
import sys

import pytest

import _marlek_link
import marlek_link

SUBMODULES = [
    ("xml", "_marlek_link.xml", "Submodule with xml utilities."),
    ("control", "_marlek_link.control", "Submodule with control jobs."),
    ("meas", "_marlek_link.meas", "Submodule with measurement jobs."),
    ("meas.stop", "_marlek_link.meas.stop", "Submodule with measurement jobs."),
    ("calibration", "_marlek_link.calibration", "Submodule with calibration jobs."),
]


def attribute_path(module, dotted):
    for name in dotted.split("."):
        module = getattr(module, name)
    return module


def test_top_module():
    assert _marlek_link.__name__ == "_marlek_link"
    assert _marlek_link.__doc__ == "marlek_link library enabling programmatic control of Marlek TQ5 potentiostats"
    assert marlek_link.__doc__ == _marlek_link.__doc__
    assert not hasattr(_marlek_link, "stop")
    assert not hasattr(marlek_link, "stop")


@pytest.mark.parametrize("path, full_name, doc", SUBMODULES)
def test_submodules(path, full_name, doc):
    submodule = attribute_path(_marlek_link, path)
    assert submodule.__name__ == full_name
    assert submodule.__doc__ == doc
    assert sys.modules[full_name] is submodule
    assert attribute_path(marlek_link, path) is submodule
    assert importlib.import_module(f"marlek_link.{path}") is submodule
    assert submodule.__file__ == _marlek_link.__file__


def test_reimport_returns_the_cached_module():
    first = sys.modules.pop("_marlek_link")
    try:
        again = importlib.import_module("_marlek_link")
        assert again is first
        assert again.meas.stop is first.meas.stop
    finally:
        sys.modules["_marlek_link"] = first


@pytest.mark.parametrize(
    "cls, module",
    [
        ("ErrorObject", "_marlek_link"),
        ("JobInfo", "_marlek_link"),
        ("JobOptions", "_marlek_link"),
        ("AbstractMeasurementJob", "_marlek_link"),
        ("JobStatusEnum", "_marlek_link"),
        ("TrackNames", "_marlek_link"),
    ],
)
def test_classes_carry_their_module_name(cls, module):
    assert getattr(marlek_link, cls).__module__ == module


@pytest.mark.parametrize(
    "a, b, total",
    [(2, 3, 5), (2147483647, 1, -2147483648), (-2147483648, -1, 2147483647), (-7, 7, 0)],
)
def test_add_wraps_in_32_bits(a, b, total):
    assert marlek_link.add(a, b) == total


@pytest.mark.parametrize("a, b", [(2147483648, 0), (1.5, 2), ("1", 2)])
def test_add_refuses_what_does_not_convert(a, b):
    with pytest.raises(TypeError):
        marlek_link.add(a, b)


@pytest.mark.parametrize(
    "x, result",
    [
        (1.5, 1.0),
        (-3, 1.0),
        (math.nan, 1.0),
        (-math.inf, 1.0),
        (2, 2.0),
        (3.9, 6.0),
        (10, 3628800.0),
        (170, math.factorial(170)),
        (170.9, math.factorial(170)),
        (171, math.inf),
        (2.0**53, math.inf),
        (1e300, math.inf),
        (math.inf, math.inf),
    ],
)
def test_factorial(x, result):
    # Large and infinite arguments return at once instead of looping for ever.
    assert marlek_link.factorial(x) == pytest.approx(result, rel=1e-12)


def test_nothing_pickles(testing):
    job = testing.cv_job()
    for value in (
        marlek_link.JobOptions(),
        testing.error_object(0, "no error occoured", []),
        job,
        job.get_last_job_info(),
    ):
        with pytest.raises(TypeError):
            pickle.dumps(value)


def test_version_is_the_library_revision():
    assert marlek_link.__version__ == marlek_link.MarlekLink.get_library_revision()
