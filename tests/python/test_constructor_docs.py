"""Every constructor overload that documents its arguments documents exactly
the arguments of its signature, in their order."""

import inspect
import re

import pytest

import marlek_link as ml

MODULES = [ml, ml.meas, ml.meas.stop, ml.control, ml.calibration, ml.xml]
OVERLOAD = re.compile(r"^(?:\d+\. )?__init__\((.*)\) -> None$", re.M)
PARAM = re.compile(r"^ {4}:param (\w+):", re.M)


def bound_classes():
    seen = {}
    for module in MODULES:
        for name, value in vars(module).items():
            if inspect.isclass(value) and "__init__" in vars(value) and value.__module__.startswith("_marlek_link"):
                seen.setdefault(f"{value.__module__}.{value.__qualname__}", value)
    return sorted(seen.items())


def top_level_split(text):
    """The arguments of a signature: commas inside brackets, braces or
    quotes do not separate."""
    parts, depth, quote, current = [], 0, None, ""
    for char in text:
        if quote:
            quote = None if char == quote else quote
        elif char in "'\"":
            quote = char
        elif char in "([{":
            depth += 1
        elif char in ")]}":
            depth -= 1
        elif char == "," and depth == 0:
            parts.append(current)
            current = ""
            continue
        current += char
    return parts + [current] if current.strip() else parts


def overloads(doc):
    """(argument names, docstring) of every overload in a pybind11 docstring."""
    matches = list(OVERLOAD.finditer(doc))
    for number, match in enumerate(matches):
        end = matches[number + 1].start() if number + 1 < len(matches) else len(doc)
        names = [part.split(":")[0].strip() for part in top_level_split(match.group(1))]
        yield [name for name in names if name != "self"], doc[match.end():end]


CLASSES = bound_classes()


def test_the_walk_finds_the_job_families():
    names = {name.rsplit(".", 1)[1] for name, _ in CLASSES}
    assert {"CvJob", "EisGenerateJob", "SwitchOnJob", "CalibrateJob", "MarlekLink"} <= names


@pytest.mark.parametrize("cls", [cls for _, cls in CLASSES], ids=[name for name, _ in CLASSES])
def test_documented_parameters_match_the_signature(cls):
    for arguments, doc in overloads(cls.__init__.__doc__ or ""):
        documented = PARAM.findall(doc)
        if documented:
            assert documented == arguments, f"{cls.__qualname__}({', '.join(arguments)})"
