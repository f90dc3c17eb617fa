"""ErrorParameter texts and ErrorObject comparisons and formatting."""

import math

import pytest

import marlek_link as ml

from support.decimal_comma import decimal_comma  # noqa: F401 (fixture)

NONE = 0
TIMED_OUT = ml.ErrorCodeEnum.OPERATION_TIMED_OUT.value


@pytest.mark.parametrize(
    "value, text, representation",
    [
        (True, "true", "ErrorParameter(true)"),
        (False, "false", "ErrorParameter(false)"),
        (0.5, "0.500000", "ErrorParameter(0.500000)"),
        (-3, "-3", "ErrorParameter(-3)"),
        (2**63, "9223372036854775808", "ErrorParameter(9223372036854775808)"),
        (2**64, "true", "ErrorParameter(true)"),
        (None, "false", "ErrorParameter(false)"),
        ("say \"hi\"", "say \"hi\"", "ErrorParameter(\"say \"hi\"\")"),
    ],
)
def test_error_parameter_texts(value, text, representation):
    assert ml.ErrorParameter.__str__(value) == text
    assert ml.ErrorParameter.__repr__(value) == representation


def test_error_parameter_text_of_a_double_ignores_the_locale(decimal_comma):
    assert ml.ErrorParameter.__str__(0.5) == "0.500000"
    assert ml.ErrorParameter.__repr__(-1234.25) == "ErrorParameter(-1234.250000)"


def test_error_parameter_has_no_constructor():
    with pytest.raises(TypeError):
        ml.ErrorParameter()
    with pytest.raises(TypeError):
        ml.ErrorParameter.__str__([1])


def test_error_object_reads_back(testing):
    error = testing.error_object(TIMED_OUT, "{0} after {1} ms ({2})", ["request", 1000, 2.5])
    assert error.get_error_code_enum() is ml.ErrorCodeEnum.OPERATION_TIMED_OUT
    assert error.get_message_format_string() == "{0} after {1} ms ({2})"
    assert error.get_message_parameters() == ["request", 1000, 2.5]
    assert error.get_message_formatted() == "request after 1000 ms (2.5)"
    assert str(error) == error.get_message_formatted()
    assert testing.error_object(NONE, "no error occoured", []).get_message_parameters() == []
    with pytest.raises(TypeError):
        ml.ErrorObject()


@pytest.mark.parametrize(
    "message, parameters",
    [
        ("{2} is missing", ["only one"]),
        ("a lone { brace", [1]),
        ("{0:q} bad specification", [1.0]),
        ("{", ["x"]),
    ],
)
def test_formatting_that_does_not_fit_returns_the_format_string(testing, message, parameters):
    error = testing.error_object(TIMED_OUT, message, parameters)
    assert error.get_message_formatted() == message
    assert str(error) == message


def test_unknown_code_raises_value_error(testing):
    with pytest.raises(ValueError):
        testing.error_object(0x7777, "x", []).get_error_code_enum()


@pytest.mark.parametrize(
    "operand, equal",
    [(False, True), (None, True), (0, True), (True, False), (1, False), ("", False), ([], False)],
)
def test_success_compares_with_truth_values(testing, operand, equal):
    success = testing.error_object(NONE, "no error occoured", [])
    assert not success and success.is_none()
    assert (success == operand) is equal
    assert success != False  # noqa: E712  (inequality only knows ErrorObject)


@pytest.mark.parametrize("operand, equal", [(True, True), (1, True), (False, False), (None, False)])
def test_failure_compares_with_truth_values(testing, operand, equal):
    failure = testing.error_object(TIMED_OUT, "x", [])
    assert failure and not failure.is_none()
    assert (failure == operand) is equal


@pytest.mark.parametrize(
    "left, right, equal",
    [
        ((TIMED_OUT, "a {0}", [1]), (TIMED_OUT, "a {0}", [1]), True),
        ((TIMED_OUT, "a {0}", [1]), (TIMED_OUT, "a {0}", [1.0]), False),
        ((TIMED_OUT, "a {0}", [1]), (NONE, "a {0}", [1]), False),
        ((TIMED_OUT, "a {0}", [1]), (TIMED_OUT, "b {0}", [1]), False),
        ((TIMED_OUT, "a {0}", [1]), (TIMED_OUT, "a {0}", [1, 2]), False),
        ((TIMED_OUT, "a {0}", [-0.0]), (TIMED_OUT, "a {0}", [0.0]), True),
        ((TIMED_OUT, "a {0}", [True]), (TIMED_OUT, "a {0}", [1]), False),
        ((TIMED_OUT, "a {0}", [2**63]), (TIMED_OUT, "a {0}", [2**63]), True),
    ],
)
def test_error_object_equality(testing, left, right, equal):
    a, b = testing.error_object(*left), testing.error_object(*right)
    assert (a == b) is equal
    assert (a != b) is not equal


def test_nan_parameter_is_unequal_to_itself_and_records_do_not_hash(testing):
    error = testing.error_object(TIMED_OUT, "{0}", [math.nan])
    assert error != error
    with pytest.raises(TypeError):
        hash(error)
