"""Setting and SettingsSet: the kinds the constructors choose, conversions,
views into a set, iteration, copies, and settings read from and written to
the fake workstation."""

import copy
import decimal
import fractions
import gc
import math

import pytest

import marlek_link as ml
from support.links import connected_link

Kind = ml.SettingType

try:
    import numpy
except ImportError:
    numpy = None


class Text(str):
    pass


class Real(float):
    pass


@pytest.mark.parametrize(
    "args, kind, value",
    [
        ((), Kind.UNINITIALIZED, False),
        ((True,), Kind.BOOL, True),
        ((False,), Kind.BOOL, False),
        ((1,), Kind.INT, 1),
        ((-(2**31),), Kind.INT, -(2**31)),
        ((2**31 - 1,), Kind.INT, 2**31 - 1),
        ((1.0,), Kind.DOUBLE, 1.0),
        ((Real(2.5),), Kind.DOUBLE, 2.5),
        ((decimal.Decimal("1.5"),), Kind.DOUBLE, 1.5),
        ((fractions.Fraction(1, 4),), Kind.DOUBLE, 0.25),
        (("1",), Kind.STRING, "1"),
        ((Text("t"),), Kind.STRING, "t"),
        ((b"1",), Kind.STRING, "1"),
        ((bytearray(b"1"),), Kind.STRING, "1"),
    ],
)
def test_constructor_kinds(args, kind, value):
    setting = ml.Setting(*args)
    assert setting.get_type() is kind
    getter = {
        Kind.UNINITIALIZED: setting.get_bool_value,
        Kind.BOOL: setting.get_bool_value,
        Kind.INT: setting.get_int_value,
        Kind.DOUBLE: setting.get_double_value,
        Kind.STRING: setting.get_string_value,
    }[kind]
    assert getter() == value and type(getter()) is type(value)
    if args:
        assert ml.Setting(value=args[0]).get_type() is kind
    assert not setting.successfully_updated()
    reason = setting.get_update_failure_reason()
    assert reason.get_error_code_enum() is ml.ErrorCodeEnum.NONE
    assert reason.get_message_formatted() == "no error occoured"


@pytest.mark.skipif(numpy is None, reason="numpy is not installed")
def test_numpy_values_go_by_kind():
    assert ml.Setting(numpy.bool_(True)).get_type() is Kind.BOOL
    assert ml.Setting(numpy.int64(7)).get_int_value() == 7
    assert ml.Setting(numpy.float32(0.5)).get_double_value() == 0.5
    with pytest.raises(TypeError):
        ml.Setting(numpy.int64(2**40))


@pytest.mark.parametrize("value", [2**31, -(2**31) - 1, 2**40, None, [1], {"a": 1}, 1j])
def test_constructor_refuses(value):
    with pytest.raises(TypeError):
        ml.Setting(value)
    with pytest.raises(TypeError):
        ml.Setting(value=value)


def test_getters_never_convert():
    for setting, getter in [
        (ml.Setting(), "get_int_value"),
        (ml.Setting(3), "get_double_value"),
        (ml.Setting(3.0), "get_int_value"),
        (ml.Setting("3"), "get_int_value"),
        (ml.Setting(True), "get_string_value"),
    ]:
        with pytest.raises(RuntimeError):
            getattr(setting, getter)()


@pytest.mark.parametrize(
    "value, text",
    [
        (None, "false"),
        (False, "false"),
        (True, "true"),
        (7, "7"),
        (-12, "-12"),
        (0.1, "0.1"),
        (2.0, "2"),
        (2.5, "2.5"),
        (3.14159265, "3.14159"),
        (1e6, "1e+06"),
        (0.00001, "1e-05"),
        (math.nan, "nan"),
        (-math.nan, "nan"),
        (math.inf, "inf"),
        ("text", "text"),
    ],
)
def test_text_form(value, text):
    setting = ml.Setting() if value is None else ml.Setting(value)
    assert setting.as_string() == text
    assert str(setting) == text


def test_assignments_change_kind_and_return_the_setting():
    setting = ml.Setting(1)
    assert setting.assign_string("x") is setting
    assert setting.get_type() is Kind.STRING
    assert setting.assign_double(3).get_double_value() == 3.0
    assert setting.assign_int(True).get_int_value() == 1
    assert setting.assign_bool(None).get_bool_value() is False
    assert setting.assign_bool(2).get_bool_value() is True
    for method, value in [
        ("assign_int", 1.5),
        ("assign_int", 2**31),
        ("assign_bool", "x"),
        ("assign_double", "1"),
        ("assign_string", 1),
    ]:
        with pytest.raises(TypeError):
            getattr(setting, method)(value)
    assert setting.get_type() is Kind.BOOL and setting.get_bool_value() is True


def test_copies_are_independent():
    setting = ml.Setting(5)
    for made in (copy.copy(setting), copy.deepcopy(setting), setting.__deepcopy__({})):
        made.assign_int(6)
        assert setting.get_int_value() == 5
    with pytest.raises(TypeError):
        setting.__deepcopy__([])


def test_reading_an_absent_name_adds_it():
    settings = ml.SettingsSet()
    assert len(settings) == 0 and not settings and settings.all_successfully_updated()
    view = settings["a"]
    assert view.get_type() is Kind.UNINITIALIZED
    assert len(settings) == settings.size() == 1
    assert not settings.all_successfully_updated()
    view.assign_int(5)
    assert settings["a"].get_int_value() == 5
    assert settings["a"] is view


@pytest.mark.parametrize(
    "value, kind, read",
    [
        (5, Kind.INT, 5),
        (True, Kind.BOOL, True),
        (2.5, Kind.DOUBLE, 2.5),
        ("x", Kind.STRING, "x"),
        (None, Kind.STRING, "None"),
        (b"x", Kind.STRING, "b'x'"),
        (ml.Setting(5), Kind.INT, 5),
        (ml.Setting("s"), Kind.STRING, "s"),
    ],
)
def test_item_assignment(value, kind, read):
    settings = ml.SettingsSet()
    settings[b"a"] = value
    entry = settings["a"]
    assert entry.get_type() is kind
    assert {
        Kind.INT: entry.get_int_value,
        Kind.BOOL: entry.get_bool_value,
        Kind.DOUBLE: entry.get_double_value,
        Kind.STRING: entry.get_string_value,
    }[kind]() == read
    if isinstance(value, ml.Setting):
        value.assign_int(99)
        assert entry.get_type() is kind


def test_item_assignment_out_of_range_leaves_the_set_unchanged():
    settings = ml.SettingsSet([("b", 1)])
    with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
        settings["a"] = 2**40
    assert settings.keys() == ["b"]


@pytest.mark.parametrize(
    "pairs, kind, value",
    [
        ([("a", ml.Setting(1)), ("a", ml.Setting(2))], Kind.INT, 1),
        ([("a", 1), ("a", 2)], Kind.INT, 1),
        ([("a", ml.Setting(1)), ("b", 2)], Kind.STRING, "1"),
        ({"a": 1}.items(), Kind.INT, 1),
        # A one-shot iterable is read once, then taken like a list.
        ((pair for pair in [(b"a", 2.5)]), Kind.DOUBLE, 2.5),
        ((pair for pair in [("a", ml.Setting(4))]), Kind.INT, 4),
        ((pair for pair in [("a", None), ("b", ml.Setting(1))]), Kind.STRING, "None"),
        ({("a", 3)}, Kind.INT, 3),
    ],
)
def test_set_constructors(pairs, kind, value):
    entry = ml.SettingsSet(pairs)["a"]
    assert entry.get_type() is kind
    getters = {Kind.INT: entry.get_int_value, Kind.DOUBLE: entry.get_double_value, Kind.STRING: entry.get_string_value}
    assert getters[kind]() == value


def test_set_constructor_refusals():
    assert len(ml.SettingsSet([])) == 0
    for refused in ({"a": 1}, "ab", [("a",)], [("a", 1, 2)], [(1, 1)], (x for x in [1]), 5, None):
        with pytest.raises(TypeError):
            ml.SettingsSet(refused)
    with pytest.raises(RuntimeError):
        ml.SettingsSet([("a", 2**40)])


def test_iteration_yields_views_in_key_order():
    settings = ml.SettingsSet([(name, n) for n, name in enumerate("abcdefgh")])
    assert [name for name, _ in settings] == settings.keys()
    for _, setting in settings:
        setting.assign_bool(True)
    assert all(settings[name].get_bool_value() for name in settings.keys())
    assert "a" not in settings
    assert set(dict(zip(settings.keys(), [settings[k] for k in settings.keys()]))) == set("abcdefgh")


def test_inserting_while_iterating_raises():
    settings = ml.SettingsSet([(str(n), n) for n in range(4)])
    iterator = iter(settings)
    name, first = next(iterator)
    for n in range(100):
        settings[f"new{n}"] = n
    with pytest.raises(RuntimeError, match="^SettingsSet changed size during iteration$"):
        next(iterator)
    with pytest.raises(RuntimeError):
        next(iterator)
    assert first.get_int_value() == int(name)
    with pytest.raises(RuntimeError, match="changed size during iteration"):
        for name, _ in settings:
            settings[name + "x"]


def test_changing_entries_while_iterating_is_fine():
    settings = ml.SettingsSet([(str(n), n) for n in range(4)])
    for name, _ in settings:
        settings[name] = "changed"
    assert [s.get_string_value() for _, s in settings] == ["changed"] * 4
    iterator = iter(settings)
    list(iterator)
    settings["late"] = 1
    with pytest.raises(StopIteration):
        next(iterator)


def test_views_keep_the_set_alive():
    settings = ml.SettingsSet([("a", 1)])
    view = settings["a"]
    _, iterated = next(iter(settings))
    del settings
    gc.collect()
    assert view.get_int_value() == 1 and iterated is view


def test_set_copies_are_independent():
    settings = ml.SettingsSet([("a", 1)])
    for made in (copy.copy(settings), copy.deepcopy(settings)):
        made["a"].assign_int(2)
        made["b"] = 3
        assert settings.keys() == ["a"] and settings["a"].get_int_value() == 1
    with pytest.raises(TypeError):
        settings.__deepcopy__([])


def test_bad_text_bytes_read_as_replacement_and_stay_stored():
    settings = ml.SettingsSet()
    settings[b"\xff"] = ml.Setting(b"\xfe")
    assert settings.keys() == ["\ufffd"]
    assert [name for name, _ in settings] == ["\ufffd"]
    setting = settings[b"\xff"]
    assert (setting.get_string_value(), setting.as_string(), str(setting)) == ("\ufffd",) * 3
    assert len(settings) == 1


def test_settings_without_a_connection():
    link = ml.MarlekLink("127.0.0.1", "9")
    error = link.get_settings()
    assert isinstance(error, ml.ErrorObject)
    assert error.get_error_code_enum() is ml.ErrorCodeEnum.CONNECTION_NOT_ESTABLISHED
    settings = ml.SettingsSet([("a", 1)])
    assert link.update_settings(settings) is None
    assert settings["a"].get_int_value() == 1 and not settings["a"].successfully_updated()


def test_settings_against_the_workstation(fake_workstation):
    link = connected_link(fake_workstation)
    try:
        settings = link.get_settings()
        assert isinstance(settings, ml.SettingsSet)
        assert sorted(settings.keys()) == ["beep_on_start", "line_frequency", "name", "sleep_after"]
        assert settings["beep_on_start"].get_bool_value() is True
        assert settings["sleep_after"].get_int_value() == 600
        assert settings["line_frequency"].get_double_value() == 50.0
        assert settings["name"].get_string_value() == "ws"
        assert not any(s.successfully_updated() for _, s in settings)

        settings["sleep_after"].assign_int(30)
        settings["name"] = "lab"
        unsent = settings["never_sent"]
        assert link.update_settings(settings) is None
        assert all(settings[name].successfully_updated() for name in settings.keys() if name != "never_sent")
        assert not unsent.successfully_updated()
        assert not settings.all_successfully_updated()

        again = link.get_settings()
        assert again["sleep_after"].get_int_value() == 30
        assert again["name"].get_string_value() == "lab"
        assert "never_sent" not in again.keys()
    finally:
        link.disconnect()


def test_refused_settings_carry_their_reasons(fake_workstation):
    refusal = {
        "number": 0x8000,
        "code": "SETTINGS_NOT_APPLIED",
        "message": "settings not applied: {0}",
        "message_parameters": ["sleep_after"],
    }
    fake_workstation.command(do="setting_outcome", name="sleep_after", outcome="failed", error=refusal)
    fake_workstation.command(do="setting_outcome", name="name", outcome="failed_without_error")
    fake_workstation.command(do="setting_outcome", name="line_frequency", outcome="omitted")
    link = connected_link(fake_workstation)
    try:
        settings = link.get_settings()
        refused, unnamed, omitted, accepted = (
            settings[name] for name in ("sleep_after", "name", "line_frequency", "beep_on_start")
        )
        assert link.update_settings(settings) is None
        assert accepted.successfully_updated()
        assert not refused.successfully_updated()
        reason = refused.get_update_failure_reason()
        assert reason.get_error_code_enum() is ml.ErrorCodeEnum.SETTINGS_NOT_APPLIED
        assert reason.get_message_formatted() == "settings not applied: sleep_after"
        assert not unnamed.successfully_updated()
        fallback = unnamed.get_update_failure_reason()
        assert fallback.get_error_code_enum() is ml.ErrorCodeEnum.UNKNOWN_ERR
        assert fallback.get_message_formatted() == "an unknown error occured"
        assert not omitted.successfully_updated()
        assert omitted.get_update_failure_reason().get_error_code_enum() is ml.ErrorCodeEnum.NONE
        assert not settings.all_successfully_updated()
        assert link.get_settings()["sleep_after"].get_int_value() == 600
    finally:
        link.disconnect()
