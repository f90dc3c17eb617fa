"""The device tree in Python: HardwareInfo read from a "get_hardware_info"
result, its views, lookups, and views that outlive a replaced list."""

import gc

import pytest

import marlek_link as ml
from hardware_trees import hardware_info_text, path_json

CLASSES = [
    "BandwidthRange",
    "CurrentRange",
    "VoltageRange",
    "ComplianceRange",
    "GainRange",
    "FilterRange",
    "PathInfo",
    "PotentiostatInfo",
    "CardInfo",
    "HardwareInfo",
]


@pytest.fixture
def tree(testing):
    return testing.hardware_info_from_json(hardware_info_text())


@pytest.mark.parametrize("name", CLASSES)
def test_python_never_builds_records(name):
    with pytest.raises(TypeError, match=": No constructor defined!$"):
        getattr(ml, name)()


def test_the_whole_tree_reads_back(tree):
    assert tree.workstation.serial_number == "354531"
    assert tree.workstation.mode is ml.WorkstationModeEnum.NORMAL
    assert [p.url for p in tree.paths] == ["MAIN:1:POT:U~ZMU:1:ZMU_U", "MAIN:1:POT:I~ZMU:1:ZMU_I"]
    path = tree.paths[1]
    assert (path.urn, path.sampling, path.source) == ("354531:POT:I~ZMU:1:ZMU_I", "simultan", "shunt")
    assert path.relevance == 1.0
    assert [(g.index, g.enabled, g.nominal_gain) for g in path.gain_ranges] == [(0, True, 1.0), (1, False, 10.0)]
    assert [(f.index, f.enabled, f.frequency) for f in path.filter_ranges] == [(0, True, 1e6)]
    pot = tree.potentiostats[0]
    assert (pot.url, pot.urn, pot.identifier, pot.serialnumber, pot.software) == (
        "MAIN:1:POT",
        "354531:POT",
        "MAIN",
        "354531",
        "2.0",
    )
    assert pot.has_calibration_data is True and pot.dac_resolution == 16
    assert [(c.index, c.current, c.resistance) for c in pot.current_ranges] == [(0, 1.0, 1.0)]
    assert [(v.index, v.voltage) for v in pot.voltage_ranges] == [(0, 5.0)]
    assert [(c.index, c.compliance) for c in pot.compliance_ranges] == [(0, 14.0)]
    assert [(b.index, b.enabled) for b in pot.bandwidth_ranges] == [(0, True)]
    card = tree.cards[0]
    card_fields = (card.name, card.symbol, card.serialnumber, card.firmware, card.hardware)
    assert card_fields == ("ZMU", "ZMU", "354531", "1.0", "A")


def test_enabled_is_hidden_on_current_ranges_only(tree):
    with pytest.raises(AttributeError):
        tree.potentiostats[0].current_ranges[0].enabled
    assert tree.paths[0].gain_ranges[0].enabled is True
    assert tree.paths[0].filter_ranges[0].enabled is True
    assert tree.potentiostats[0].bandwidth_ranges[0].enabled is True


def test_elements_are_views_and_lists_are_new(tree):
    paths = tree.paths
    paths.append(paths[0])
    assert len(tree.paths) == 2
    tree.paths[0].url = "x"
    assert tree.paths[0].url == "x"
    assert tree.constains_url("x")
    tree.paths[1].gain_ranges[1].nominal_gain = 100.0
    assert tree.paths[1].gain_ranges[1].nominal_gain == 100.0


def test_list_setter_copies_its_items(tree):
    card = tree.cards[0]
    tree.cards = [card, card]
    card.name = "renamed"
    assert [c.name for c in tree.cards] == ["ZMU", "ZMU"]
    tree.cards = (c for c in tree.cards[:1])
    assert len(tree.cards) == 1
    with pytest.raises(TypeError):
        tree.cards = [card, tree.paths[0]]
    with pytest.raises(TypeError):
        tree.cards = [None]
    assert len(tree.cards) == 1


def test_views_keep_their_owner_alive(testing):
    gain = testing.hardware_info_from_json(hardware_info_text()).paths[0].gain_ranges[1]
    workstation = testing.hardware_info_from_json(hardware_info_text()).workstation
    gc.collect()
    assert gain.nominal_gain == 10.0
    assert workstation.system_name == "ws"


def test_workstation_setter_copies(tree, testing):
    other = testing.hardware_info_from_json(hardware_info_text().replace('"ws"', '"other"'))
    tree.workstation = other.workstation
    assert tree.workstation.system_name == "other"
    assert tree.workstation is not other.workstation


def test_views_across_list_replacement(testing):
    """Old views go on reading the records they were taken from; nested
    views too, and the tree sees only the new list."""
    tree = testing.hardware_info_from_json(hardware_info_text())
    old_path = tree.paths[0]
    old_gain = old_path.gain_ranges[1]
    tree.paths = []
    tree.potentiostats = tree.potentiostats * 50
    gc.collect()
    filler = [testing.hardware_info_from_json(hardware_info_text()) for _ in range(20)]
    assert old_path.url == "MAIN:1:POT:U~ZMU:1:ZMU_U"
    assert old_gain.nominal_gain == 10.0
    old_gain.nominal_gain = 3.0
    assert old_path.gain_ranges[1].nominal_gain == 3.0
    assert tree.paths == []
    old_path.gain_ranges = []
    assert old_gain.nominal_gain == 3.0 and old_path.gain_ranges == []
    assert len(filler) == 20


def test_list_replacement_without_views_changes_in_place(tree):
    for _ in range(100):
        tree.paths = tree.paths[::-1]
    assert tree.paths[0].url == "MAIN:1:POT:U~ZMU:1:ZMU_U"


def test_lookups_search_paths_then_potentiostats(testing):
    tree = testing.hardware_info_from_json(
        hardware_info_text(
            paths=[path_json("PATH:1", "354531:POT"), path_json("PATH:2", "354531:POT")],
        )
    )
    assert tree.convert_urn_to_url("354531:POT") == "PATH:1"
    assert tree.convert_url_to_urn("MAIN:1:POT") == "354531:POT"
    assert tree.convert_url_to_urn(url=b"PATH:2") == "354531:POT"
    assert tree.constains_urn(bytearray(b"354531:POT"))
    assert tree.constains_url("MAIN:1:POT")
    assert not tree.constains_urn("354531:pot")
    assert not tree.constains_urn("ZMU")  # cards are not searched
    assert tree.convert_urn_to_url("nothing") == ""
    with pytest.raises(TypeError):
        tree.constains_urn(1)


def test_lookups_on_an_empty_tree(testing):
    tree = testing.hardware_info_from_json(hardware_info_text(paths=[], potentiostats=[]))
    assert not tree.constains_urn("354531:POT") and not tree.constains_url("MAIN:1:POT")
    assert tree.convert_urn_to_url("354531:POT") == "" and tree.convert_url_to_urn("MAIN:1:POT") == ""


@pytest.mark.parametrize("value", [2**31, -(2**31) - 1, 1.5, "1", None])
def test_wrong_values_leave_fields_unchanged(tree, value):
    pot = tree.potentiostats[0]
    with pytest.raises(TypeError):
        pot.dac_resolution = value
    with pytest.raises(TypeError):
        pot.current_ranges[0].index = value
    assert pot.dac_resolution == 16 and pot.current_ranges[0].index == 0


def test_text_fields_take_bytes_and_read_bad_bytes_as_replacement(tree):
    card = tree.cards[0]
    card.name = b"raw"
    assert card.name == "raw"
    card.name = b"\xff"
    assert card.name == "\ufffd"
    path, potentiostat = tree.paths[0], tree.potentiostats[0]
    path.urn = b"a\xffb"
    potentiostat.identifier = b"\xfe"
    assert (path.urn, potentiostat.identifier) == ("a\ufffdb", "\ufffd")
