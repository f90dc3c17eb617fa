"""Enumerations and constant holders, as tables."""

import enum

import pytest

import marlek_link as ml

ERROR_CODE_FAMILIES = [
    (0x0, ["NONE"]),
    (0x1000, ["CONNECTION_NOT_ESTABLISHED", "ALREADY_CONNECTED", "CONNECTION_FAILED", "CONNECTION_BROKEN",
              "CONNECTION_WAS_CLOSED", "FAILED_TO_WRITE_TO_SOCKET", "FAILED_TO_READ_FROM_SOCKET",
              "OPERATION_TIMED_OUT", "CONNECTION_DNS_ERROR", "CONNECTION_HTTP_ERROR", "UNAUTHORIZED",
              "FAILED_TO_ESTABLISH_WEBSOCKET_CONNECTION", "PROTOCOL_VERSION_MISMATCH"]),
    (0x2000, ["JSON_MALFORMED", "JSON_OBJECT_EXPECTED", "ENDPOINT_NOT_FOUND", "TYPE_NAME_UNKNOWN"]),
    (0x4000, ["PARAMETER_MISSING", "PARAMETER_FORMAT_INVALID", "PARAMETER_FORMAT_INVALID_HINT",
              "PARAMETER_IS_NOT_A_NUMBER", "PARAMETER_VALUE_TOO_HIGH", "PARAMETER_VALUE_TOO_LOW",
              "PARAMETER_RELATIVE_CONSTRAINT_VIOLATED", "PARAMETER_CONSTRAINT_VIOLATED",
              "RAMP_ODR_CONSTRAINT_VIOLATED", "PARAMETER_COMBINATION_INVALID", "PARAMETER_VALUES_TOO_CLOSE",
              "PARAMETER_STRING_LENGTH_INVALID", "PARAMETER_VECTOR_SIZE_INVALID",
              "PARAMETER_SYMBOLIC_PATH_INVALID", "PROPERTY_OBJECT_MISSING", "INVALID_PARAMETER",
              "ID_NOT_FOUND"]),
    (0x8000, ["SETTINGS_NOT_APPLIED", "SETTING_OK_BUT_NOT_COMMITTED", "TLS_NOT_SUPPORTED_BY_LIBRARY",
              "TLS_SETUP_FAILED", "TLS_HANDSHAKE_FAILED", "TLS_CERTIFICATE_INVALID", "TLS_PRIVATE_KEY_INVALID",
              "TLS_KEY_CERTIFICATE_MISMATCH", "TLS_CERTIFICATE_EXPIRED"]),
    (0x10000, ["STOP_CONDITION_MISCONFIGURED", "STOP_CONDITION_TRIGGERED", "STOPPED_MANUALLY_BEFORE_RUN",
               "STOPPED_MANUALLY"]),
    (0x20000, ["RESOURCE_CREATION_FAILED", "RESOURCE_TYPE_MISMATCH", "RESOURCE_CONTENT_INVALID",
               "RESOURCE_NOT_WRITABLE"]),
    (0x40000, ["QUEUE_BYPASS_NOT_ALLOWED", "QUEUE_FULL", "RESULT_DATA_DISCARDED"]),
    (0x80000, ["FILE_NOT_FOUND", "FILE_COULD_NOT_BE_OPENED", "FILE_COULD_NOT_BE_CLOSED", "FILE_COULD_NOT_BE_READ",
               "FILE_COULD_NOT_BE_WRITTEN", "FILE_IS_EMPTY", "FILE_VERSION_NOT_SUPPORTED"]),
    (0x100000, ["POT_STATUS_MISMATCH", "PSEUDO_GAL_NEEDS_GAL", "POTENTIOSTAT_COUPLING_MISMATCH",
                "HARDWARE_CONFIGURATION_ISSUE", "POTENTIOSTAT_SWITCH_ON_ISSUE"]),
    (0x200000, ["CALIBRATION_TYPE_UNKNOWN", "CALIBRATION_GAIN_CALIB_ERROR", "CALIBRATION_NO_SETTINGS",
                "CALIBRATION_ERROR", "PREMATURELY_STOPPED"]),
    (0x400000, ["OUT_OF_MEMORY"]),
    (0x800000, ["UNEXPECTED_EXCEPTION"]),
    (0xBADF00D, ["UNKNOWN_ERR"]),
]


def numbered(names, first=0):
    return [(name, first + i) for i, name in enumerate(names)]


ENUMERATIONS = [
    ("SettingType", "Type enumeration for Setting values",
     numbered(["UNINITIALIZED", "BOOL", "INT", "DOUBLE", "STRING"])),
    ("JobStatusEnum", "Enum which indicates the status of the job.",
     numbered(["UNKNOWN", "PENDING", "RUNNING", "FINISHED", "FAILED", "DELETED"])),
    ("MarlekLinkConnectionStatusEnum", "Indicates the connection status.",
     numbered(["DISCONNECTED", "CONNECTED"])),
    ("JobStatusDetailEnum", "An enum that explains the status in more detail.",
     numbered(["NOT_FINISHED", "RUN_TO_COMPLETION", "NOT_CONNECTED", "FAILED_TO_CREATE", "CANCELLED_BEFORE_RUN",
               "STOPPED_BY_USER", "FUNCTIONAL_LIMIT_OCCURRED", "SAFETY_LIMIT_OCCURRED", "CONNECTION_LOSS",
               "RUNTIME_ERROR"])),
    ("QueueStopModeEnum", "Enum with which you can select what should happen when the criteria is met.",
     numbered(["QUEUE_STOP_MODE_FLUSH", "QUEUE_STOP_MODE_CONTINUE"])),
    ("PotentiostatCoupling", "Enum with which you can select the feedback mode.",
     numbered(["POTENTIOSTATIC", "GALVANOSTATIC", "FRA_PROBE"])),
    ("DriftCorrection",
     "Enum with which you can select how much of the drift correction an EIS measurement applies.",
     numbered(["FULL", "DC_ONLY", "OFF"])),
    # DC and its two variants come first, ahead of lower values.
    ("CalibrationTypesEnum", "Enum which indicates the type of the calibration.",
     [("DC", 2), ("MAIN_SHUNTS_DC", 3), ("EXTERNAL_POTENTIOSTAT_DC", 4), ("DUMP", 0), ("LOAD", 1)]
     + numbered(["FILTER", "GAIN", "ZMU_FILTER", "ZMU_GAIN", "ZMU4_FILTER", "ZMU4_GAIN", "ZMU4_DC_GAIN",
                 "VOLTAGE_RANGE", "SHUNT_OPEN", "SHUNT_LOAD", "SHUNT_SHORT", "SHUNT_REFERENCE",
                 "MAIN_VOLTAGE_RANGE", "MAIN_SHUNT_OPEN", "MAIN_SHUNT_LOAD", "MAIN_SHUNT_SHORT", "REFERENCE_ADC"],
                5)),
    ("CalibrationDataTypeEnum", "Enum which indicates the data type of the calibration data.",
     numbered(["UNDEFINED", "FLOAT", "FLOAT_VECTOR", "SPECTRA", "STRING"])),
    ("ResourceTypeEnum", "Enum which indicates the type of the resource.",
     numbered(["UNDEFINED", "FIRMWARE_UPDATE", "WAVE", "CALIB_MESH", "MARLEK_BINARY", "DEBUG_INFO",
               "JOB_RESULT"])),
    ("ErrorCodeEnum", "Enum which indicates error codes for various operations.",
     [pair for first, names in ERROR_CODE_FAMILIES for pair in numbered(names, first)]),
    ("WorkstationModeEnum", "Enum indicating the operating mode of the TQ5",
     [("NORMAL", 0), ("RECOVERY", 1), ("FAILSAFE", 2), ("EMULATION", 1000)]),
    ("LogSeverityEnum", "Enum indicating the severity of a log message.",
     numbered(["DEBUG", "MESSAGE", "WARNING", "CRITICAL_ERROR"])),
    ("EventTypeEnum", "Enum which indicates the type of an event sent by the TQ5.",
     numbered(["UNKNOWN", "JOB_STATUS_UPDATE", "MESSAGE_FROM_JOB", "MESSAGE_FROM_SERVER", "JOB_DONE",
               "LIVE_DATA_HEADER", "LIVE_DATA_HEADER_EIS", "LIVE_DATA_ROWS", "LIVE_DATA_ROW_EIS",
               "LIVE_DATA_WAVES", "LIVE_DATA_FINISHED"])),
]


@pytest.mark.parametrize("name, doc, members", ENUMERATIONS, ids=[e[0] for e in ENUMERATIONS])
def test_enumeration_members_in_order(name, doc, members):
    cls = getattr(ml, name)
    assert issubclass(cls, enum.Enum)
    assert not issubclass(cls, int)
    assert cls.__module__ == "_marlek_link"
    assert cls.__doc__.lstrip("\n").startswith(f"    {doc}")
    assert [(m.name, m.value) for m in cls] == members
    for member_name, value in members:
        assert cls(value) is cls[member_name]
        assert not hasattr(ml, member_name)


def test_error_code_enum_size_and_samples():
    assert len(ml.ErrorCodeEnum) == 75
    assert ml.ErrorCodeEnum.UNKNOWN_ERR.value == 195948557
    assert ml.ErrorCodeEnum.ID_NOT_FOUND.value == 0x4010


@pytest.mark.parametrize(
    "cls, member, doc",
    [
        ("SettingType", "DOUBLE", "double precision floating point setting"),
        ("QueueStopModeEnum", "QUEUE_STOP_MODE_CONTINUE", "continue with the following job"),
        ("QueueStopModeEnum", "QUEUE_STOP_MODE_FLUSH", "flush all the following jobs"),
        ("PotentiostatCoupling", "FRA_PROBE", "internal feedback, mode must be used in combination with an FRA probe"),
        ("CalibrationTypesEnum", "DC", "perform full DC calibration"),
        ("DriftCorrection", "OFF", "no correction. The drift is still estimated and reported per path, "
                                   "nothing is subtracted from the measured lines."),
    ],
)
def test_member_docstrings(cls, member, doc):
    assert getattr(ml, cls)[member].__doc__ == doc


def test_plain_enum_semantics():
    running = ml.JobStatusEnum.RUNNING
    assert running.value == 2 and ml.JobStatusEnum(2) is running
    assert running != 2
    assert not hasattr(ml, "RUNNING")
    with pytest.raises(ValueError):
        ml.WorkstationModeEnum(3)
    assert ml.WorkstationModeEnum(1000) is ml.WorkstationModeEnum.EMULATION


def test_dataset_type_values_are_bools():
    kind = ml.DatasetType
    assert [(m.name, m.value) for m in kind] == [("DC", False), ("AC", True)]
    assert kind.DC.value is False and kind.AC.value is True
    assert kind(False) is kind.DC and kind(True) is kind.AC
    assert kind.DC != kind.AC and kind.DC != False  # noqa: E712 - members are not their values
    # Through the 8-bit C++ enumeration and back.
    info = ml.DatasetInfo()
    for member in kind:
        info.type = member
        assert info.type is member


TRACK_NAMES = [
    ("TIME", "time"), ("VOLTAGE", "voltage"), ("CURRENT", "current"), ("FREQUENCY", "frequency"),
    ("PERIODS", "periods"), ("IMPEDANCE_ABSOLUTE", "|impedance|"), ("PHASE", "phase"),
    ("IMPEDANCE_ERROR", "impedance error"), ("PHASE_ERROR", "phase error"), ("IMPEDANCE_DRIFT", "impedance drift"),
    ("PHASE_DRIFT", "phase drift"), ("DC", "dc"), ("AMPLITUDE", "amplitude"), ("GAIN", "gain"),
    ("FILTER", "filter"), ("THD", "thd"), ("DRIFT", "drift"), ("SHUNT", "shunt"), ("BANDWITH", "bandwith"),
    ("WAVE_ID", "wave_id"), ("WAVE_SIZE", "wave_size"),
]
UNIT_NAMES = [
    ("TIME", "s"), ("VOLTAGE", "V"), ("CURRENT", "A"), ("FREQUENCY", "Hz"), ("PERIODS", ""),
    ("IMPEDANCE_ABSOLUTE", "\u2126"), ("PHASE_RAD", "rad"), ("IMPEDANCE_ERROR", ""), ("PHASE_ERROR", ""),
    ("IMPEDANCE_DRIFT", ""), ("PHASE_DRIFT", ""), ("GAIN", ""), ("FILTER", ""), ("FILTER_HZ", "Hz"),
    ("THD", "%"), ("DRIFT", "1/period"), ("SHUNT", ""), ("BANDWITH", ""), ("WAVE_ID", ""), ("WAVE_SIZE", ""),
]
CONNECTION_FLAGS = [
    ("NONE", 0), ("USE_SSL", 1), ("SKIP_SSL_CERT_VALIDATION", 2), ("SKIP_SSL_HOSTNAME_MATCHING", 4),
    ("SSL_DO_NOT_USE_SYSTEM_CAS", 8), ("IGNORE_PROTOCOL_MISMATCH", 16), ("SSL_VERIFY_CUSTOM_HOSTNAME", 32),
]
HOLDERS = [
    ("TrackNames", "Constants for track names used in datasets.", TRACK_NAMES, str),
    ("UnitNames", "Constants for unit names used in datasets.", UNIT_NAMES, str),
    ("MarlekLinkConnectionFlags", "Flags for the MarlekLink connection.", CONNECTION_FLAGS, int),
]


@pytest.mark.parametrize("name, doc, constants, kind", HOLDERS, ids=[h[0] for h in HOLDERS])
def test_constant_holders(name, doc, constants, kind):
    cls = getattr(ml, name)
    assert cls.__doc__ == f"\n    {doc}\n"
    for attribute, value in constants:
        assert type(getattr(cls, attribute)) is kind
        assert getattr(cls, attribute) == value
    with pytest.raises(TypeError):
        cls()
    first, value = constants[0]
    with pytest.raises(AttributeError):
        setattr(cls, first, value)
    assert getattr(cls, first) == value


def test_constant_holder_details():
    assert ml.UnitNames.IMPEDANCE_ABSOLUTE != "\u03a9"
    assert len(ml.TrackNames.IMPEDANCE_ABSOLUTE) == 11
    assert not hasattr(ml.UnitNames, "PHASE") and not hasattr(ml.TrackNames, "FILTER_HZ")
    flags = ml.MarlekLinkConnectionFlags
    assert flags.USE_SSL | flags.SKIP_SSL_CERT_VALIDATION == 3
