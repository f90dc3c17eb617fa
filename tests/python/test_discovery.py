"""AutoDiscovery and DiscoveredDevice: the argument rules without any
network, and one discovery round on loopback against the fake
workstation's UDP responder."""

import datetime

import pytest

import marlek_link as ml


@pytest.mark.parametrize(
    "arguments",
    [(), (1.5,), (datetime.timedelta(microseconds=1999),), (datetime.timedelta(microseconds=-1500),)],
    ids=["default", "float", "timedelta", "negative"],
)
def test_accepted_timeouts(arguments):
    assert isinstance(ml.AutoDiscovery(*arguments), ml.AutoDiscovery)
    if arguments:
        assert isinstance(ml.AutoDiscovery(discovery_timeout=arguments[0]), ml.AutoDiscovery)


@pytest.mark.parametrize("timeout", [2, None, "3", True])
def test_refused_timeouts(timeout):
    with pytest.raises(TypeError):
        ml.AutoDiscovery(timeout)


# Beyond what the steady clock counts in nanoseconds, or not a duration at all.
@pytest.mark.parametrize(
    "timeout",
    [float("inf"), float("-inf"), float("nan"), 1e10, -1e10, datetime.timedelta.max, datetime.timedelta.min],
)
def test_refused_unrepresentable_timeout(timeout):
    with pytest.raises(ValueError):
        ml.AutoDiscovery(timeout)
    with pytest.raises(ValueError):
        ml.AutoDiscovery(discovery_timeout=timeout)


def test_longest_timeouts_within_the_clock_are_accepted():
    # About 146 years: half of what the clock counts, the rest being its
    # reading at the start.
    assert isinstance(ml.AutoDiscovery(datetime.timedelta(days=365 * 146)), ml.AutoDiscovery)
    assert isinstance(ml.AutoDiscovery(-4e9), ml.AutoDiscovery)


@pytest.mark.parametrize(
    "recovery, shown",
    [(False, "DiscoveredDevice(ip_address='10.0.0.5', port='1994', recovery_mode=False)"),
     (True, "DiscoveredDevice(ip_address='10.0.0.5', port='1994', recovery_mode=True)")],
)
def test_device_fields(testing, recovery, shown):
    device = testing.discovered_device("10.0.0.5", "1994", recovery)
    assert isinstance(device, ml.DiscoveredDevice)
    assert repr(device) == shown
    assert (device.ip_address, device.port, device.recovery_mode, device.url) == (
        "10.0.0.5", "1994", recovery, "10.0.0.5:1994")
    for name in ("ip_address", "port", "recovery_mode", "url"):
        with pytest.raises(AttributeError):
            setattr(device, name, "x")
    with pytest.raises(TypeError):
        ml.DiscoveredDevice()


def test_discovery_round_on_loopback(fake_workstation_with, testing, tmp_path):
    # The server writes this file before the port file the fixture waits for.
    port_file = tmp_path / "udp-port"
    fake_workstation_with("--udp-port-file", str(port_file))
    discovery = testing.loopback_discovery(1500, int(port_file.read_text()))
    assert isinstance(discovery, ml.AutoDiscovery)

    devices = discovery.discover()
    assert [(d.ip_address, d.port, d.recovery_mode) for d in devices] == [("127.0.0.1", "1954", False)]
    assert devices[0].url == "127.0.0.1:1954"


def test_discovery_without_answers_is_empty(testing):
    # Nothing answers on loopback's discard port.
    assert testing.loopback_discovery(300, 9).discover() == []
