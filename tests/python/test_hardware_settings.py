"""The sampling configuration's building blocks in Python: polynomials,
channels, impedance configurations, output potentiostats and connections,
and HardwareSettings as the workstation reports it."""

import gc
import math

import pytest

import marlek_link as ml
from hardware_trees import hardware_settings_text

NEUTRAL = [0.0, 1.0]


@pytest.fixture
def adopted(testing):
    return testing.hardware_settings_from_json(hardware_settings_text())


def channel(uri="MAIN:1:T", polynomial=None):
    return ml.Channel(uri, "temperature", "K", polynomial or ml.UserPolynomial([0.0, 1.0]))


@pytest.mark.parametrize(
    "argument, coefficients",
    [
        ([], NEUTRAL),
        ((), NEUTRAL),
        ([1.0, 2.0], [1.0, 2.0]),
        ([1, 2], [1.0, 2.0]),
        (b"\x01\x02", [1.0, 2.0]),
        (range(3), [0.0, 1.0, 2.0]),
        ((x for x in (1.0, 2.0)), [1.0, 2.0]),
        ({4.0}, [4.0]),
    ],
)
def test_polynomial_constructors(argument, coefficients):
    assert ml.UserPolynomial(argument).coefficients == coefficients


def test_polynomial_failures_and_keyword():
    assert ml.UserPolynomial(coefficients=[3.0]).coefficients == [3.0]
    with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
        ml.UserPolynomial("12")
    with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
        ml.UserPolynomial([1.0, "x"])
    for refused in ((), (5,), (None,)):
        with pytest.raises(TypeError):
            ml.UserPolynomial(*refused)


def test_polynomial_coefficients_and_order():
    polynomial = ml.UserPolynomial([1.0])
    polynomial.coefficients.append(2.0)
    assert polynomial.coefficients == [1.0]
    polynomial.coefficients = []
    assert polynomial.coefficients == []
    with pytest.raises(TypeError):
        polynomial.coefficients = ["x"]
    assert polynomial.coefficients == []
    short, longer = ml.UserPolynomial([1.0]), ml.UserPolynomial([1.0, 0.0])
    assert short.__lt__(longer) and not longer.__lt__(short)
    assert longer > short
    assert not ml.UserPolynomial([2.0]).__lt__(ml.UserPolynomial([1.0, 5.0]))
    same = ml.UserPolynomial([1.0])
    assert not short.__lt__(same) and not same.__lt__(short) and short != same
    assert [p.coefficients for p in sorted([longer, ml.UserPolynomial([0.5]), short])] == [[0.5], [1.0], [1.0, 0.0]]
    with pytest.raises(TypeError):
        short.__lt__(None)
    with pytest.raises(TypeError):
        short <= longer


def test_channel_holds_copies_and_polynomial_view():
    given = ml.UserPolynomial([0.0, 2.0])
    made = ml.Channel(uri="U", dimension=b"voltage", unit="V", polynomial=given)
    given.coefficients = [9.0]
    assert (made.uri, made.dimension, made.unit, made.polynomial.coefficients) == ("U", "voltage", "V", [0.0, 2.0])
    made.polynomial.coefficients = [1.0]
    assert made.polynomial.coefficients == [1.0]
    replacement = ml.UserPolynomial([5.0])
    made.polynomial = replacement
    replacement.coefficients = [6.0]
    assert made.polynomial.coefficients == [5.0]
    for polynomial in ([0.0, 1.0], None):
        with pytest.raises(TypeError):
            ml.Channel("U", "voltage", "V", polynomial)
        with pytest.raises(TypeError):
            made.polynomial = polynomial
    with pytest.raises(TypeError):
        ml.Channel("U", "voltage", "V")


def test_impedance_configurations():
    plain = ml.ImpedanceConfiguration("U", "I")
    assert (plain.numerator, plain.denominator, plain.impedance_name) == ("U", "I", "")
    named = ml.ImpedanceConfiguration(numerator="U", denominator="I", impedance_name="Z")
    assert named.impedance_name == "Z"
    numerator, denominator = ml.Zmu4Connection(1, 1), ml.Zmu4Connection(1, 2)
    zmu = ml.Zmu4ImpedanceConfiguration(numerator, denominator)
    numerator.card_index = 7
    assert zmu.impedance_name == "" and zmu.numerator.card_index == 1
    zmu.denominator.connector_index = 5
    assert zmu.denominator.connector_index == 5
    with pytest.raises(TypeError):
        ml.Zmu4ImpedanceConfiguration(None, denominator)
    with pytest.raises(TypeError):
        ml.ImpedanceConfiguration(channel(), "I")


@pytest.mark.parametrize(
    "args, potentiostatic, galvanostatic",
    [
        (("MAIN:1:POT",), NEUTRAL, NEUTRAL),
        (("MAIN:1:POT", [], (2, 3)), NEUTRAL, [2.0, 3.0]),
        (("MAIN:1:POT", ml.UserPolynomial([5.0])), [5.0], NEUTRAL),
        (("MAIN:1:POT", range(2), b"\x03"), [0.0, 1.0], [3.0]),
    ],
)
def test_potentiostat_configuration_polynomial_arguments(args, potentiostatic, galvanostatic):
    made = ml.PotentiostatConfiguration(*args)
    assert made.potentiostatic_polynomial.coefficients == potentiostatic
    assert made.galvanostatic_polynomial.coefficients == galvanostatic


def test_potentiostat_configuration_failures_and_assign():
    empty = ml.UserPolynomial([])
    empty.coefficients = []
    assert ml.PotentiostatConfiguration("P", empty).potentiostatic_polynomial.coefficients == []
    for refused in (5, None, {"a": 1}):
        with pytest.raises(TypeError, match="^Expected sequence or UserPolynomial$"):
            ml.PotentiostatConfiguration("P", refused)
    with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
        ml.PotentiostatConfiguration("P", galvanostatic_polynomial=["x"])
    made = ml.PotentiostatConfiguration("MAIN:1:POT", [1.0])
    assert made.__assign__("XPC:1:EXT2:POT") is made
    assert made.uri == "XPC:1:EXT2:POT" and made.potentiostatic_polynomial.coefficients == [1.0]
    with pytest.raises(TypeError):
        made.potentiostatic_polynomial = [2.0]
    given = ml.UserPolynomial([2.0])
    made.potentiostatic_polynomial = given
    given.coefficients = [3.0]
    assert made.potentiostatic_polynomial.coefficients == [2.0]


def test_connections():
    slot = ml.PotConnection(card_index=1, connector_index=2)
    assert (slot.card_index, slot.connector_index) == (1, 2)
    assert ml.PotConnection(2**64 - 1, 0).card_index == 2**64 - 1
    for refused in ((-1, 0), (1.5, 0), ("1", 0), (2**64, 0), (1,)):
        with pytest.raises(TypeError):
            ml.PotConnection(*refused)
    connection = ml.Zmu4Connection(1, 3)
    assert connection.polynomial.coefficients == NEUTRAL
    assert (connection.dimension, connection.unit) == ("", "")
    assert connection.getPath() == "ZMU4:1:CH3~ZMU4:1:ADC3"
    assert ml.Zmu4Connection(1, 3).polynomial is not connection.polynomial
    connection.polynomial.coefficients = [4.0]
    assert ml.Zmu4Connection(1, 3).polynomial.coefficients == NEUTRAL
    for polynomial in ([0.0, 1.0], None):
        with pytest.raises(TypeError):
            ml.Zmu4Connection(1, 3, polynomial)


def zmu(card, connector, coefficients=(0.0, 1.0), dimension="", unit=""):
    return ml.Zmu4Connection(card, connector, ml.UserPolynomial(list(coefficients)), dimension, unit)


@pytest.mark.parametrize(
    "smaller, larger",
    [
        (zmu(1, 9), zmu(2, 0)),
        (zmu(1, 1), zmu(1, 2)),
        (zmu(1, 1, [0.0]), zmu(1, 1, [1.0])),
        (zmu(1, 1, [1.0]), zmu(1, 1, [1.0, 0.0])),
        (zmu(1, 1, dimension="a"), zmu(1, 1, dimension="b")),
        (zmu(1, 1, dimension="a", unit="V"), zmu(1, 1, dimension="a", unit="VV")),
        (zmu(1, 1, [1.0]), zmu(1, 1, [math.nan])),
    ],
)
def test_connection_order(smaller, larger):
    assert smaller.__lt__(larger) and not larger.__lt__(smaller)
    assert larger > smaller
    assert not smaller.__lt__(smaller)
    assert sorted([larger, smaller])[0] is smaller
    with pytest.raises(TypeError):
        smaller.__lt__(ml.PotConnection(0, 0))


def test_hardware_settings_from_the_workstation(adopted):
    with pytest.raises(TypeError, match=": No constructor defined!$"):
        ml.HardwareSettings()
    assert [c.uri for c in adopted.sync_channels] == ["MAIN:1:POT:U~ZMU:1:ZMU_U", "MAIN:1:POT:I~ZMU:1:ZMU_I"]
    assert [c.dimension for c in adopted.async_channels] == ["temperature"]
    assert adopted.impedance_configurations[0].denominator == "MAIN:1:POT:I~ZMU:1:ZMU_I"
    assert adopted.output_potentiostats[0].uri == "MAIN:1:POT"
    adopted.sync_channels[0].uri = "changed"
    adopted.sync_channels.append(channel())
    assert [c.uri for c in adopted.sync_channels] == ["changed", "MAIN:1:POT:I~ZMU:1:ZMU_I"]
    item = channel("one")
    adopted.sync_channels = [item]
    item.uri = "later"
    assert [c.uri for c in adopted.sync_channels] == ["one"]
    with pytest.raises(TypeError):
        adopted.sync_channels = [ml.ImpedanceConfiguration("U", "I")]


def test_views_across_list_replacement(adopted):
    first = adopted.sync_channels[0]
    polynomial = first.polynomial
    potentiostat = adopted.output_potentiostats[0]
    adopted.sync_channels = [channel(str(n)) for n in range(100)]
    adopted.output_potentiostats = []
    gc.collect()
    assert first.uri == "MAIN:1:POT:U~ZMU:1:ZMU_U"
    assert polynomial.coefficients == NEUTRAL
    assert potentiostat.uri == "MAIN:1:POT"
    first.uri = "old"
    assert [c.uri for c in adopted.sync_channels][:2] == ["0", "1"]
