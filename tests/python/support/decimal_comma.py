"""The process switched to a locale whose decimal separator is a comma, as a
host application (plotting code often does) may at any time."""

import locale

import pytest


@pytest.fixture
def decimal_comma():
    """Switches the whole process, C library included, to de_DE.UTF-8 for the
    test and back at its end; skips when no such locale is installed."""
    saved = locale.setlocale(locale.LC_ALL)
    try:
        locale.setlocale(locale.LC_ALL, "de_DE.UTF-8")
    except locale.Error:
        pytest.skip("no decimal-comma locale installed (scripts/setup.sh installs de_DE.UTF-8)")
    assert locale.localeconv()["decimal_point"] == ","
    yield
    locale.setlocale(locale.LC_ALL, saved)
