"""JSON texts of hardware query results, as the workstation sends them, for
the tests of the hardware classes."""

import json


def _path(url, urn, source):
    return {
        "url": url,
        "urn": urn,
        "sampling": "simultan",
        "source": source,
        "relevance": 1.0,
        "gain_ranges": [
            {"index": 0, "enabled": True, "nominal_gain": 1.0},
            {"index": 1, "enabled": False, "nominal_gain": 10.0},
        ],
        "filter_ranges": [{"index": 0, "enabled": True, "frequency": 1e6}],
    }


def hardware_info_text(paths=None, potentiostats=None):
    """A "get_hardware_info" result: the main potentiostat (urn "354531:POT"),
    its two paths and one ZMU card, unless other lists are given."""
    if paths is None:
        paths = [
            _path("MAIN:1:POT:U~ZMU:1:ZMU_U", "354531:POT:U~ZMU:1:ZMU_U", "voltage"),
            _path("MAIN:1:POT:I~ZMU:1:ZMU_I", "354531:POT:I~ZMU:1:ZMU_I", "shunt"),
        ]
    if potentiostats is None:
        potentiostats = [
            {
                "url": "MAIN:1:POT",
                "urn": "354531:POT",
                "identifier": "MAIN",
                "serialnumber": "354531",
                "software": "2.0",
                "has_calibration_data": True,
                "dac_resolution": 16,
                "current_ranges": [{"index": 0, "enabled": True, "current": 1.0, "resistance": 1.0}],
                "voltage_ranges": [{"index": 0, "voltage": 5.0}],
                "bandwidth_ranges": [{"index": 0, "enabled": True}],
                "compliance_ranges": [{"index": 0, "compliance": 14.0}],
            }
        ]
    return json.dumps(
        {
            "workstation": {
                "protocol_version": 12,
                "serial_number": "354531",
                "model_name": "TQ5",
                "firmware_version": "1.0",
                "firmware_build_id": "b",
                "cpu_card_uuid": "u",
                "system_mac": "00:11:22:33:44:55",
                "system_name": "ws",
                "mode": "NORMAL",
            },
            "paths": paths,
            "potentiostats": potentiostats,
            "cards": [{"name": "ZMU", "symbol": "ZMU", "serialnumber": "354531", "firmware": "1.0", "hardware": "A"}],
        }
    )


def path_json(url, urn):
    return _path(url, urn, "input")


def _channel(uri, dimension, unit):
    return {"uri": uri, "dimension": dimension, "unit": unit, "polynomial": [0.0, 1.0]}


def hardware_settings_text():
    """A "get_hardware_settings" result: the main potentiostat's base
    configuration, as adopted."""
    return json.dumps(
        {
            "sync_channels": [
                _channel("MAIN:1:POT:U~ZMU:1:ZMU_U", "voltage", "V"),
                _channel("MAIN:1:POT:I~ZMU:1:ZMU_I", "current", "A"),
            ],
            "impedance_configurations": [
                {
                    "numerator": "MAIN:1:POT:U~ZMU:1:ZMU_U",
                    "denominator": "MAIN:1:POT:I~ZMU:1:ZMU_I",
                    "impedance_name": "",
                }
            ],
            "async_channels": [_channel("MAIN:1:T", "temperature", "K")],
            "output_potentiostats": [
                {"uri": "MAIN:1:POT", "potentiostatic_polynomial": [0.0, 1.0], "galvanostatic_polynomial": [0.0, 1.0]}
            ],
        }
    )
