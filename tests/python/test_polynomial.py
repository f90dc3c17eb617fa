"""UserPolynomial: its two constructors and its ordering."""

import pytest

import marlek_link as ml


@pytest.mark.parametrize("source, expected", [
    ([], [0.0, 1.0]),
    ((), [0.0, 1.0]),
    ([1.0, 2.0], [1.0, 2.0]),
    ([1, 2], [1.0, 2.0]),
    (bytes([1, 2]), [1.0, 2.0]),
    (range(3), [0.0, 1.0, 2.0]),
    ((x / 2 for x in range(2)), [0.0, 0.5]),
])
def test_constructors(source, expected):
    assert ml.UserPolynomial(source).coefficients == expected


def test_keyword_and_refused_arguments():
    assert ml.UserPolynomial(coefficients=[3.0]).coefficients == [3.0]
    for bad in ((), (1.0,), (None,)):
        with pytest.raises(TypeError):
            ml.UserPolynomial(*bad)
    for bad in ("ab", [1.0, "x"]):
        with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
            ml.UserPolynomial(bad)


def test_coefficients_are_copied_out_and_stored_as_given():
    polynomial = ml.UserPolynomial([1.0])
    polynomial.coefficients.append(2.0)
    assert polynomial.coefficients == [1.0]
    polynomial.coefficients = []
    assert polynomial.coefficients == []
    with pytest.raises(TypeError):
        polynomial.coefficients = 3


@pytest.mark.parametrize("left, right, less", [
    ([1.0], [1.0, 0.0], True),
    ([1.0, 0.0], [1.0], False),
    ([2.0], [1.0, 5.0], False),
    ([1.0, 2.0], [1.0, 2.0], False),
    # NaN sorts after every number, so the order stays strict and weak.
    ([float("nan")], [1.0], False),
    ([1.0], [float("nan")], True),
    ([float("nan"), 1.0], [float("nan"), 2.0], True),
])
def test_ordering(left, right, less):
    assert ml.UserPolynomial(left).__lt__(ml.UserPolynomial(right)) is less
    assert (ml.UserPolynomial(left) < ml.UserPolynomial(right)) is less


def test_ordering_and_equality_with_other_objects():
    a, b = ml.UserPolynomial([1.0]), ml.UserPolynomial([1.0])
    assert a != b and a == a
    assert ml.UserPolynomial([2.0]) > ml.UserPolynomial([1.0])
    assert sorted([ml.UserPolynomial([3.0]), ml.UserPolynomial([1.0])], key=lambda p: p)[0].coefficients == [1.0]
    for other in (None, 1.0, [1.0]):
        with pytest.raises(TypeError):
            a.__lt__(other)
