"""UserHardwareSettings and the HardwareSettingsHelper builders: the
configurations they build (the same as the core's own tests expect), and
views that survive the calls that change the lists."""

import gc

import pytest

import marlek_link as ml

H = ml.HardwareSettingsHelper
U = "MAIN:1:POT:U~ZMU:1:ZMU_U"
I = "MAIN:1:POT:I~ZMU:1:ZMU_I"
CH1 = "ZMU4:1:CH1~ZMU4:1:ADC1"
CH2 = "ZMU4:1:CH2~ZMU4:1:ADC2"
CH3 = "ZMU4:1:CH3~ZMU4:1:ADC3"
NEUTRAL = [0.0, 1.0]


def zmu4(card, connector, dimension="", unit="", coefficients=NEUTRAL):
    return ml.Zmu4Connection(card, connector, ml.UserPolynomial(list(coefficients)), dimension, unit)


def impedance(numerator, denominator, name=""):
    return ml.Zmu4ImpedanceConfiguration(numerator, denominator, name)


def shape(settings):
    """The configuration as plain values, for comparing."""
    return (
        [(c.uri, c.dimension, c.unit, c.polynomial.coefficients) for c in settings.channels],
        [(z.numerator, z.denominator, z.impedance_name) for z in settings.impedance_configurations],
        [
            (p.uri, p.potentiostatic_polynomial.coefficients, p.galvanostatic_polynomial.coefficients)
            for p in settings.output_potentiostats
        ],
    )


def base(pot):
    u, i = pot + ":U~ZMU:1:ZMU_U", pot + ":I~ZMU:1:ZMU_I"
    return ([(u, "voltage", "V", NEUTRAL), (i, "current", "A", NEUTRAL)], [(u, i, "")], [(pot, NEUTRAL, NEUTRAL)])


def plus(configuration, channels, impedances):
    return (configuration[0] + channels, configuration[1] + impedances, configuration[2])


BUILDERS = [
    ("main", lambda: H.get_config_for_main_potentiostat(), base("MAIN:1:POT")),
    ("serial naming the main potentiostat", lambda: H.get_config_for_potentiostat("MAIN:1:POT"), base("MAIN:1:POT")),
    ("serial", lambda: H.get_config_for_potentiostat(pot_serial_number="354531"), base("354531:POT")),
    ("XPC slot", lambda: H.get_config_for_potentiostat(ml.PotConnection(1, 2)), base("XPC:1:EXT2:POT")),
    (
        "main with a voltage channel",
        lambda: H.get_config_for_main_with_sync_voltage_channel([zmu4(1, 1)]),
        plus(base("MAIN:1:POT"), [(CH1, "voltage-ZMU4-1-CH1", "V", NEUTRAL)], [(CH1, I, "ZMU4-1-CH1")]),
    ),
    (
        "main with a current channel",
        lambda: H.get_config_for_main_with_sync_current_channel([zmu4(1, 1)]),
        plus(base("MAIN:1:POT"), [(CH1, "current-ZMU4-1-CH1", "A", NEUTRAL)], [(CH1, U, "ZMU4-1-CH1")]),
    ),
    (
        "own dimension, unit and polynomial are kept",
        lambda: H.get_config_for_main_with_sync_voltage_channel([zmu4(1, 2, "pH", "mV", [7.0, -0.06])]),
        plus(base("MAIN:1:POT"), [(CH2, "pH", "mV", [7.0, -0.06])], [(CH2, I, "ZMU4-1-CH2")]),
    ),
    (
        "serial with the same connection twice",
        lambda: H.get_config_for_potentiostat_with_sync_voltage_channel("354531", [zmu4(1, 1), zmu4(1, 1)]),
        plus(
            base("354531:POT"),
            [(CH1, "voltage-ZMU4-1-CH1", "V", NEUTRAL)],
            [(CH1, "354531:POT:I~ZMU:1:ZMU_I", "ZMU4-1-CH1")] * 2,
        ),
    ),
    (
        "XPC slot with the same voltage connection twice keeps both channels",
        lambda: H.get_config_for_potentiostat_with_sync_voltage_channel(ml.PotConnection(1, 2), [zmu4(1, 1)] * 2),
        plus(
            base("XPC:1:EXT2:POT"),
            [(CH1, "voltage-ZMU4-1-CH1", "V", NEUTRAL)] * 2,
            [(CH1, "XPC:1:EXT2:POT:I~ZMU:1:ZMU_I", "ZMU4-1-CH1")] * 2,
        ),
    ),
    (
        "XPC slot with the same current connection twice",
        lambda: H.get_config_for_potentiostat_with_sync_current_channel(
            pot_connection=ml.PotConnection(1, 2), connections=[zmu4(1, 1)] * 2
        ),
        plus(
            base("XPC:1:EXT2:POT"),
            [(CH1, "current-ZMU4-1-CH1", "A", NEUTRAL)],
            [(CH1, "XPC:1:EXT2:POT:U~ZMU:1:ZMU_U", "ZMU4-1-CH1")] * 2,
        ),
    ),
    (
        "serial with current channels",
        lambda: H.get_config_for_potentiostat_with_sync_current_channel("7", [zmu4(1, 3), zmu4(1, 1)]),
        plus(
            base("7:POT"),
            [(CH3, "current-ZMU4-1-CH3", "A", NEUTRAL), (CH1, "current-ZMU4-1-CH1", "A", NEUTRAL)],
            [(CH3, "7:POT:U~ZMU:1:ZMU_U", "ZMU4-1-CH3"), (CH1, "7:POT:U~ZMU:1:ZMU_U", "ZMU4-1-CH1")],
        ),
    ),
    (
        "impedances between ZMU4 channels",
        lambda: H.get_config_for_main_with_sync_channel_impedance(
            [impedance(zmu4(1, 2), zmu4(1, 3)), impedance(zmu4(1, 1), zmu4(1, 2))]
        ),
        plus(
            base("MAIN:1:POT"),
            [(CH1, "ZMU4-1-CH1", "", NEUTRAL), (CH2, "ZMU4-1-CH2", "", NEUTRAL), (CH3, "ZMU4-1-CH3", "", NEUTRAL)],
            [(CH2, CH3, "ZMU4-1-CH2/ZMU4-1-CH3"), (CH1, CH2, "ZMU4-1-CH1/ZMU4-1-CH2")],
        ),
    ),
    (
        "named impedance; one connector with two polynomials gives one channel, the smaller first",
        lambda: H.get_config_for_potentiostat_with_sync_channel_impedance(
            ml.PotConnection(0, 1), [impedance(zmu4(1, 1, "", "V", [1.0]), zmu4(1, 1, "", "V", [0.0, 2.0]), "cell")]
        ),
        plus(base("XPC:0:EXT1:POT"), [(CH1, "ZMU4-1-CH1", "V", [0.0, 2.0])], [(CH1, CH1, "cell")]),
    ),
    ("no connections", lambda: H.get_config_for_main_with_sync_voltage_channel([]), base("MAIN:1:POT")),
    (
        "no impedances",
        lambda: H.get_config_for_potentiostat_with_sync_channel_impedance("354531", []),
        base("354531:POT"),
    ),
]


@pytest.mark.parametrize("what, build, expected", BUILDERS, ids=[case[0] for case in BUILDERS])
def test_builders(what, build, expected):
    assert shape(build()) == expected


def test_builders_give_independent_objects():
    first, second = H.get_config_for_main_potentiostat(), H.get_config_for_main_potentiostat()
    first.channels[0].uri = "changed"
    assert second.channels[0].uri == U


@pytest.mark.parametrize(
    "call",
    [
        lambda: H.get_config_for_potentiostat(1),
        lambda: H.get_config_for_potentiostat(None),
        lambda: H.get_config_for_main_with_sync_voltage_channel(zmu4(1, 1)),
        lambda: H.get_config_for_main_with_sync_channel_impedance([zmu4(1, 1)]),
        lambda: H(),
    ],
)
def test_builders_refuse_wrong_arguments(call):
    with pytest.raises(TypeError):
        call()


def test_constants():
    constants = {
        "CHANNELS": "channels",
        "IMPEDANCE_CONFIGURATIONS": "impedance_configurations",
        "OUTPUT_POTENTIOSTATS": "output_potentiostats",
        "MAIN_POT": "MAIN:1:POT",
        "ZMU_U": "ZMU:1:ZMU_U",
        "ZMU_I": "ZMU:1:ZMU_I",
        "SEPARATOR": "~",
        "MAIN_POT_U_ZMU_U": U,
        "MAIN_POT_I_ZMU_I": I,
    }
    assert {name: getattr(H, name) for name in constants} == constants
    with pytest.raises(AttributeError):
        H.MAIN_POT = "x"
    assert H.MAIN_POT == "MAIN:1:POT"


def test_user_hardware_settings_lists():
    with pytest.raises(TypeError):
        ml.UserHardwareSettings()
    settings = ml.UserHardwareSettings([], [], [])
    assert shape(settings) == ([], [], [])
    made = ml.Channel("A", "a", "1", ml.UserPolynomial([1.0]))
    settings.channels.append(made)
    assert settings.channels == []
    settings.add_channel(made)
    made.uri = "changed"
    settings.add_channel(channel=ml.Channel("B", "b", "2", ml.UserPolynomial([])))
    settings.add_channel(settings.channels[0])
    assert [c.uri for c in settings.channels] == ["A", "B", "A"]
    settings.remove_duplicates_from_channels()
    assert [c.uri for c in settings.channels] == ["A", "B"]
    with pytest.raises(TypeError):
        settings.add_channel(None)


def test_add_sync_channels():
    settings = H.get_config_for_main_potentiostat()
    settings.add_sync_voltage_channel([zmu4(1, 1)])
    settings.add_sync_current_channel(connections=[zmu4(1, 2)])
    assert shape(settings) == plus(
        base("MAIN:1:POT"),
        [(CH1, "voltage-ZMU4-1-CH1", "V", NEUTRAL), (CH2, "current-ZMU4-1-CH2", "A", NEUTRAL)],
        [(CH1, I, "ZMU4-1-CH1"), (CH2, U, "ZMU4-1-CH2")],
    )


@pytest.mark.parametrize(
    "change",
    [
        lambda s: [s.add_channel(ml.Channel(str(n), "d", "u", ml.UserPolynomial([]))) for n in range(64)],
        lambda s: s.remove_duplicates_from_channels(),
        lambda s: s.add_sync_voltage_channel([zmu4(1, n) for n in range(64)]),
        lambda s: s.add_sync_current_channel([zmu4(1, n) for n in range(64)]),
        lambda s: setattr(s, "channels", []),
        lambda s: setattr(s, "impedance_configurations", []),
    ],
)
def test_views_survive_changes_of_their_list(change):
    settings = H.get_config_for_main_potentiostat()
    settings.add_channel(settings.channels[0])
    channel = settings.channels[0]
    polynomial = channel.polynomial
    configuration = settings.impedance_configurations[0]
    change(settings)
    gc.collect()
    garbage = [H.get_config_for_main_with_sync_voltage_channel([zmu4(2, n) for n in range(8)]) for _ in range(20)]
    assert (channel.uri, channel.dimension, polynomial.coefficients) == (U, "voltage", NEUTRAL)
    assert configuration.numerator == U
    assert len(garbage) == 20
