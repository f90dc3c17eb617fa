// init_enums: the core enumerations as Python enum.Enum classes, and the
// track-name, unit-name and connection-flag constants as classes of read-only
// class attributes.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"
#include "marlek_json_common/json_common/job_parameters/drift_correction.hpp"
#include "marlek_json_common/json_common/logging/error_code.hpp"
#include "marlek_json_common/json_common/resources/resource_types.hpp"
#include "marlek_link_json/events/event_type.hpp"
#include "marlek_link_json/events/log_severity.hpp"
#include "marlek_link_json/jobs/calibration/calibration_types.hpp"
#include "marlek_link_json/jobs/common/jobstatus.hpp"
#include "marlek_link_json/jobs/control/potentiostat_coupling.hpp"
#include "marlek_link_json/jobs/control/settings/setting.hpp"
#include "marlek_link_json/jobs/dataset/track_names.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"
#include "marlek_link_json/link_ll_session_status.hpp"
#include "marlek_link_json/queue_stop_mode.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

namespace py = pybind11;

namespace {

struct TrackNamesWrapper {};
struct UnitNamesWrapper {};
struct MarlekLinkConnectionFlagsWrapper {};

template <typename Holder>
void addText(py::class_<Holder>& holder, const char* name, const char* value)
{
    holder.def_property_readonly_static(name, [value](const py::object&) { return std::string(value); });
}

template <typename Holder>
void addFlag(py::class_<Holder>& holder, const char* name, std::uint32_t value, const char* doc = nullptr)
{
    if (doc != nullptr) {
        holder.def_property_readonly_static(name, [value](const py::object&) { return value; }, doc);
    } else {
        holder.def_property_readonly_static(name, [value](const py::object&) { return value; });
    }
}

void registerTrackNames(py::module_& m)
{
    py::class_<TrackNamesWrapper> holder(m, "TrackNames", MARLEK_DOC("Constants for track names used in datasets."));
    addText(holder, "TIME", TrackNames::TIME);
    addText(holder, "VOLTAGE", TrackNames::VOLTAGE);
    addText(holder, "CURRENT", TrackNames::CURRENT);
    addText(holder, "FREQUENCY", TrackNames::FREQUENCY);
    addText(holder, "PERIODS", TrackNames::PERIODS);
    addText(holder, "IMPEDANCE_ABSOLUTE", TrackNames::IMPEDANCE_ABSOLUTE);
    addText(holder, "PHASE", TrackNames::PHASE);
    addText(holder, "IMPEDANCE_ERROR", TrackNames::IMPEDANCE_ERROR);
    addText(holder, "PHASE_ERROR", TrackNames::PHASE_ERROR);
    addText(holder, "IMPEDANCE_DRIFT", TrackNames::IMPEDANCE_DRIFT);
    addText(holder, "PHASE_DRIFT", TrackNames::PHASE_DRIFT);
    addText(holder, "DC", TrackNames::DC);
    addText(holder, "AMPLITUDE", TrackNames::AMPLITUDE);
    addText(holder, "GAIN", TrackNames::GAIN);
    addText(holder, "FILTER", TrackNames::FILTER);
    addText(holder, "THD", TrackNames::THD);
    addText(holder, "DRIFT", TrackNames::DRIFT);
    addText(holder, "SHUNT", TrackNames::SHUNT);
    addText(holder, "BANDWITH", TrackNames::BANDWITH);
    addText(holder, "WAVE_ID", TrackNames::WAVE_ID);
    addText(holder, "WAVE_SIZE", TrackNames::WAVE_SIZE);
}

void registerUnitNames(py::module_& m)
{
    py::class_<UnitNamesWrapper> holder(m, "UnitNames", MARLEK_DOC("Constants for unit names used in datasets."));
    addText(holder, "TIME", UnitNames::TIME);
    addText(holder, "VOLTAGE", UnitNames::VOLTAGE);
    addText(holder, "CURRENT", UnitNames::CURRENT);
    addText(holder, "FREQUENCY", UnitNames::FREQUENCY);
    addText(holder, "PERIODS", UnitNames::PERIODS);
    addText(holder, "IMPEDANCE_ABSOLUTE", UnitNames::IMPEDANCE_ABSOLUTE);
    addText(holder, "PHASE_RAD", UnitNames::PHASE_RAD);
    addText(holder, "IMPEDANCE_ERROR", UnitNames::IMPEDANCE_ERROR);
    addText(holder, "PHASE_ERROR", UnitNames::PHASE_ERROR);
    addText(holder, "IMPEDANCE_DRIFT", UnitNames::IMPEDANCE_DRIFT);
    addText(holder, "PHASE_DRIFT", UnitNames::PHASE_DRIFT);
    addText(holder, "GAIN", UnitNames::GAIN);
    addText(holder, "FILTER", UnitNames::FILTER);
    addText(holder, "FILTER_HZ", UnitNames::FILTER_HZ);
    addText(holder, "THD", UnitNames::THD);
    addText(holder, "DRIFT", UnitNames::DRIFT);
    addText(holder, "SHUNT", UnitNames::SHUNT);
    addText(holder, "BANDWITH", UnitNames::BANDWITH);
    addText(holder, "WAVE_ID", UnitNames::WAVE_ID);
    addText(holder, "WAVE_SIZE", UnitNames::WAVE_SIZE);
}

void registerConnectionFlags(py::module_& m)
{
    using Flags = MarlekLinkConnectionFlags;
    py::class_<MarlekLinkConnectionFlagsWrapper> holder(m, "MarlekLinkConnectionFlags",
                                                        MARLEK_DOC("Flags for the MarlekLink connection."));
    addFlag(holder, "NONE", Flags::NONE);
    addFlag(holder, "USE_SSL", Flags::USE_SSL);
    addFlag(holder, "SKIP_SSL_CERT_VALIDATION", Flags::SKIP_SSL_CERT_VALIDATION,
            MARLEK_DOC("Skip any TLS certificate check"));
    addFlag(holder, "SKIP_SSL_HOSTNAME_MATCHING", Flags::SKIP_SSL_HOSTNAME_MATCHING,
            MARLEK_DOC("Skip only TLS certificate hostname check"));
    addFlag(holder, "SSL_DO_NOT_USE_SYSTEM_CAS", Flags::SSL_DO_NOT_USE_SYSTEM_CAS,
            MARLEK_DOC("Do not trust CAs supplyed by the OS"));
    addFlag(holder, "IGNORE_PROTOCOL_MISMATCH", Flags::IGNORE_PROTOCOL_MISMATCH);
    addFlag(holder, "SSL_VERIFY_CUSTOM_HOSTNAME", Flags::SSL_VERIFY_CUSTOM_HOSTNAME,
            "\n"
            "    Validate the server certificate against :attr:`marlek_link.TlsConfiguration.certificate_hostname`\n"
            "    instead of the host used to connect. Use this when connecting via IP or a custom DNS name while\n"
            "    the certificate is issued to a different (e.g. mDNS) name. If the flag is set but\n"
            "    certificate_hostname is empty the connection host is used as a fallback. SKIP_SSL_HOSTNAME_MATCHING\n"
            "    takes precedence: when both are set the hostname check is skipped entirely and certificate_hostname\n"
            "    only serves as the SNI name.\n");
}

} // namespace

void init_enums(py::module_& m)
{
    py::native_enum<Setting::Type>(m, "SettingType", "enum.Enum", MARLEK_DOC("Type enumeration for Setting values"))
        .value("UNINITIALIZED", Setting::Type::UNINITIALIZED, "uninitialized setting")
        .value("BOOL", Setting::Type::BOOL, "boolean setting")
        .value("INT", Setting::Type::INT, "integer setting")
        .value("DOUBLE", Setting::Type::DOUBLE, "double precision floating point setting")
        .value("STRING", Setting::Type::STRING, "string setting")
        .finalize();

    py::native_enum<JobStatusEnum>(m, "JobStatusEnum", "enum.Enum",
                                   MARLEK_DOC("Enum which indicates the status of the job."))
        .value("UNKNOWN", JobStatusEnum::UNKNOWN)
        .value("PENDING", JobStatusEnum::PENDING)
        .value("RUNNING", JobStatusEnum::RUNNING)
        .value("FINISHED", JobStatusEnum::FINISHED)
        .value("FAILED", JobStatusEnum::FAILED)
        .value("DELETED", JobStatusEnum::DELETED)
        .finalize();

    py::native_enum<MarlekLinkConnectionStatusEnum>(m, "MarlekLinkConnectionStatusEnum", "enum.Enum",
                                                    MARLEK_DOC("Indicates the connection status."))
        .value("DISCONNECTED", MarlekLinkConnectionStatusEnum::DISCONNECTED)
        .value("CONNECTED", MarlekLinkConnectionStatusEnum::CONNECTED)
        .finalize();

    py::native_enum<JobStatusDetailEnum>(m, "JobStatusDetailEnum", "enum.Enum",
                                         MARLEK_DOC("An enum that explains the status in more detail."))
        .value("NOT_FINISHED", JobStatusDetailEnum::NOT_FINISHED)
        .value("RUN_TO_COMPLETION", JobStatusDetailEnum::RUN_TO_COMPLETION)
        .value("NOT_CONNECTED", JobStatusDetailEnum::NOT_CONNECTED)
        .value("FAILED_TO_CREATE", JobStatusDetailEnum::FAILED_TO_CREATE)
        .value("CANCELLED_BEFORE_RUN", JobStatusDetailEnum::CANCELLED_BEFORE_RUN)
        .value("STOPPED_BY_USER", JobStatusDetailEnum::STOPPED_BY_USER)
        .value("FUNCTIONAL_LIMIT_OCCURRED", JobStatusDetailEnum::FUNCTIONAL_LIMIT_OCCURRED)
        .value("SAFETY_LIMIT_OCCURRED", JobStatusDetailEnum::SAFETY_LIMIT_OCCURRED)
        .value("CONNECTION_LOSS", JobStatusDetailEnum::CONNECTION_LOSS)
        .value("RUNTIME_ERROR", JobStatusDetailEnum::RUNTIME_ERROR)
        .finalize();

    py::native_enum<QueueStopModeEnum>(
        m, "QueueStopModeEnum", "enum.Enum",
        MARLEK_DOC("Enum with which you can select what should happen when the criteria is met."))
        .value("QUEUE_STOP_MODE_FLUSH", QueueStopModeEnum::QUEUE_STOP_MODE_FLUSH, "flush all the following jobs")
        .value("QUEUE_STOP_MODE_CONTINUE", QueueStopModeEnum::QUEUE_STOP_MODE_CONTINUE,
               "continue with the following job")
        .finalize();

    py::native_enum<PotentiostatCoupling>(m, "PotentiostatCoupling", "enum.Enum",
                                          MARLEK_DOC("Enum with which you can select the feedback mode."))
        .value("POTENTIOSTATIC", PotentiostatCoupling::POTENTIOSTATIC, "voltage feedback")
        .value("GALVANOSTATIC", PotentiostatCoupling::GALVANOSTATIC, "current feedback")
        .value("FRA_PROBE", PotentiostatCoupling::FRA_PROBE,
               "internal feedback, mode must be used in combination with an FRA probe")
        .finalize();

    py::native_enum<DriftCorrection>(
        m, "DriftCorrection", "enum.Enum",
        MARLEK_DOC("Enum with which you can select how much of the drift correction an EIS measurement applies."))
        .value("FULL", DriftCorrection::FULL,
               "both estimators: spectral matched filter at exactly one recorded period, regression over the period "
               "means above. The default.")
        .value("DC_ONLY", DriftCorrection::DC_ONLY,
               "only the regression over the period means, so nothing at one recorded period. For a sample driven "
               "into its nonlinearity, where the unexcited bins carry distortion rather than drift.")
        .value("OFF", DriftCorrection::OFF,
               "no correction. The drift is still estimated and reported per path, nothing is subtracted from the "
               "measured lines.")
        .finalize();

    // DC comes first: it is the calibration a user runs, the others serve
    // the maker's service work.
    py::native_enum<CalibrationTypesEnum>(m, "CalibrationTypesEnum", "enum.Enum",
                                          MARLEK_DOC("Enum which indicates the type of the calibration."))
        .value("DC", CalibrationTypesEnum::DC, "perform full DC calibration")
        .value("MAIN_SHUNTS_DC", CalibrationTypesEnum::MAIN_SHUNTS_DC)
        .value("EXTERNAL_POTENTIOSTAT_DC", CalibrationTypesEnum::EXTERNAL_POTENTIOSTAT_DC)
        .value("DUMP", CalibrationTypesEnum::DUMP)
        .value("LOAD", CalibrationTypesEnum::LOAD)
        .value("FILTER", CalibrationTypesEnum::FILTER)
        .value("GAIN", CalibrationTypesEnum::GAIN)
        .value("ZMU_FILTER", CalibrationTypesEnum::ZMU_FILTER)
        .value("ZMU_GAIN", CalibrationTypesEnum::ZMU_GAIN)
        .value("ZMU4_FILTER", CalibrationTypesEnum::ZMU4_FILTER)
        .value("ZMU4_GAIN", CalibrationTypesEnum::ZMU4_GAIN)
        .value("ZMU4_DC_GAIN", CalibrationTypesEnum::ZMU4_DC_GAIN)
        .value("VOLTAGE_RANGE", CalibrationTypesEnum::VOLTAGE_RANGE)
        .value("SHUNT_OPEN", CalibrationTypesEnum::SHUNT_OPEN)
        .value("SHUNT_LOAD", CalibrationTypesEnum::SHUNT_LOAD)
        .value("SHUNT_SHORT", CalibrationTypesEnum::SHUNT_SHORT)
        .value("SHUNT_REFERENCE", CalibrationTypesEnum::SHUNT_REFERENCE)
        .value("MAIN_VOLTAGE_RANGE", CalibrationTypesEnum::MAIN_VOLTAGE_RANGE)
        .value("MAIN_SHUNT_OPEN", CalibrationTypesEnum::MAIN_SHUNT_OPEN)
        .value("MAIN_SHUNT_LOAD", CalibrationTypesEnum::MAIN_SHUNT_LOAD)
        .value("MAIN_SHUNT_SHORT", CalibrationTypesEnum::MAIN_SHUNT_SHORT)
        .value("REFERENCE_ADC", CalibrationTypesEnum::REFERENCE_ADC)
        .finalize();

    py::native_enum<CalibrationDataTypeEnum>(
        m, "CalibrationDataTypeEnum", "enum.Enum",
        MARLEK_DOC("Enum which indicates the data type of the calibration data."))
        .value("UNDEFINED", CalibrationDataTypeEnum::UNDEFINED)
        .value("FLOAT", CalibrationDataTypeEnum::FLOAT)
        .value("FLOAT_VECTOR", CalibrationDataTypeEnum::FLOAT_VECTOR)
        .value("SPECTRA", CalibrationDataTypeEnum::SPECTRA)
        .value("STRING", CalibrationDataTypeEnum::STRING)
        .finalize();

    py::native_enum<ResourceTypeEnum>(m, "ResourceTypeEnum", "enum.Enum",
                                      MARLEK_DOC("Enum which indicates the type of the resource."))
        .value("UNDEFINED", ResourceTypeEnum::UNDEFINED)
        .value("FIRMWARE_UPDATE", ResourceTypeEnum::FIRMWARE_UPDATE)
        .value("WAVE", ResourceTypeEnum::WAVE)
        .value("CALIB_MESH", ResourceTypeEnum::CALIB_MESH)
        .value("MARLEK_BINARY", ResourceTypeEnum::MARLEK_BINARY)
        .value("DEBUG_INFO", ResourceTypeEnum::DEBUG_INFO)
        .value("JOB_RESULT", ResourceTypeEnum::JOB_RESULT)
        .finalize();

    py::native_enum<ErrorCodeEnum>(m, "ErrorCodeEnum", "enum.Enum",
                                   MARLEK_DOC("Enum which indicates error codes for various operations."))
        .value("NONE", ErrorCodeEnum::NONE)
        .value("CONNECTION_NOT_ESTABLISHED", ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED)
        .value("ALREADY_CONNECTED", ErrorCodeEnum::ALREADY_CONNECTED)
        .value("CONNECTION_FAILED", ErrorCodeEnum::CONNECTION_FAILED)
        .value("CONNECTION_BROKEN", ErrorCodeEnum::CONNECTION_BROKEN)
        .value("CONNECTION_WAS_CLOSED", ErrorCodeEnum::CONNECTION_WAS_CLOSED)
        .value("FAILED_TO_WRITE_TO_SOCKET", ErrorCodeEnum::FAILED_TO_WRITE_TO_SOCKET)
        .value("FAILED_TO_READ_FROM_SOCKET", ErrorCodeEnum::FAILED_TO_READ_FROM_SOCKET)
        .value("OPERATION_TIMED_OUT", ErrorCodeEnum::OPERATION_TIMED_OUT)
        .value("CONNECTION_DNS_ERROR", ErrorCodeEnum::CONNECTION_DNS_ERROR)
        .value("CONNECTION_HTTP_ERROR", ErrorCodeEnum::CONNECTION_HTTP_ERROR)
        .value("UNAUTHORIZED", ErrorCodeEnum::UNAUTHORIZED)
        .value("FAILED_TO_ESTABLISH_WEBSOCKET_CONNECTION", ErrorCodeEnum::FAILED_TO_ESTABLISH_WEBSOCKET_CONNECTION)
        .value("PROTOCOL_VERSION_MISMATCH", ErrorCodeEnum::PROTOCOL_VERSION_MISMATCH)
        .value("JSON_MALFORMED", ErrorCodeEnum::JSON_MALFORMED)
        .value("JSON_OBJECT_EXPECTED", ErrorCodeEnum::JSON_OBJECT_EXPECTED)
        .value("ENDPOINT_NOT_FOUND", ErrorCodeEnum::ENDPOINT_NOT_FOUND)
        .value("TYPE_NAME_UNKNOWN", ErrorCodeEnum::TYPE_NAME_UNKNOWN)
        .value("PARAMETER_MISSING", ErrorCodeEnum::PARAMETER_MISSING)
        .value("PARAMETER_FORMAT_INVALID", ErrorCodeEnum::PARAMETER_FORMAT_INVALID)
        .value("PARAMETER_FORMAT_INVALID_HINT", ErrorCodeEnum::PARAMETER_FORMAT_INVALID_HINT)
        .value("PARAMETER_IS_NOT_A_NUMBER", ErrorCodeEnum::PARAMETER_IS_NOT_A_NUMBER)
        .value("PARAMETER_VALUE_TOO_HIGH", ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH)
        .value("PARAMETER_VALUE_TOO_LOW", ErrorCodeEnum::PARAMETER_VALUE_TOO_LOW)
        .value("PARAMETER_RELATIVE_CONSTRAINT_VIOLATED", ErrorCodeEnum::PARAMETER_RELATIVE_CONSTRAINT_VIOLATED)
        .value("PARAMETER_CONSTRAINT_VIOLATED", ErrorCodeEnum::PARAMETER_CONSTRAINT_VIOLATED)
        .value("RAMP_ODR_CONSTRAINT_VIOLATED", ErrorCodeEnum::RAMP_ODR_CONSTRAINT_VIOLATED)
        .value("PARAMETER_COMBINATION_INVALID", ErrorCodeEnum::PARAMETER_COMBINATION_INVALID)
        .value("PARAMETER_VALUES_TOO_CLOSE", ErrorCodeEnum::PARAMETER_VALUES_TOO_CLOSE)
        .value("PARAMETER_STRING_LENGTH_INVALID", ErrorCodeEnum::PARAMETER_STRING_LENGTH_INVALID)
        .value("PARAMETER_VECTOR_SIZE_INVALID", ErrorCodeEnum::PARAMETER_VECTOR_SIZE_INVALID)
        .value("PARAMETER_SYMBOLIC_PATH_INVALID", ErrorCodeEnum::PARAMETER_SYMBOLIC_PATH_INVALID)
        .value("PROPERTY_OBJECT_MISSING", ErrorCodeEnum::PROPERTY_OBJECT_MISSING)
        .value("INVALID_PARAMETER", ErrorCodeEnum::INVALID_PARAMETER)
        .value("ID_NOT_FOUND", ErrorCodeEnum::ID_NOT_FOUND)
        .value("SETTINGS_NOT_APPLIED", ErrorCodeEnum::SETTINGS_NOT_APPLIED)
        .value("SETTING_OK_BUT_NOT_COMMITTED", ErrorCodeEnum::SETTING_OK_BUT_NOT_COMMITTED)
        .value("TLS_NOT_SUPPORTED_BY_LIBRARY", ErrorCodeEnum::TLS_NOT_SUPPORTED_BY_LIBRARY)
        .value("TLS_SETUP_FAILED", ErrorCodeEnum::TLS_SETUP_FAILED)
        .value("TLS_HANDSHAKE_FAILED", ErrorCodeEnum::TLS_HANDSHAKE_FAILED)
        .value("TLS_CERTIFICATE_INVALID", ErrorCodeEnum::TLS_CERTIFICATE_INVALID)
        .value("TLS_PRIVATE_KEY_INVALID", ErrorCodeEnum::TLS_PRIVATE_KEY_INVALID)
        .value("TLS_KEY_CERTIFICATE_MISMATCH", ErrorCodeEnum::TLS_KEY_CERTIFICATE_MISMATCH)
        .value("TLS_CERTIFICATE_EXPIRED", ErrorCodeEnum::TLS_CERTIFICATE_EXPIRED)
        .value("STOP_CONDITION_MISCONFIGURED", ErrorCodeEnum::STOP_CONDITION_MISCONFIGURED)
        .value("STOP_CONDITION_TRIGGERED", ErrorCodeEnum::STOP_CONDITION_TRIGGERED)
        .value("STOPPED_MANUALLY_BEFORE_RUN", ErrorCodeEnum::STOPPED_MANUALLY_BEFORE_RUN)
        .value("STOPPED_MANUALLY", ErrorCodeEnum::STOPPED_MANUALLY)
        .value("RESOURCE_CREATION_FAILED", ErrorCodeEnum::RESOURCE_CREATION_FAILED)
        .value("RESOURCE_TYPE_MISMATCH", ErrorCodeEnum::RESOURCE_TYPE_MISMATCH)
        .value("RESOURCE_CONTENT_INVALID", ErrorCodeEnum::RESOURCE_CONTENT_INVALID)
        .value("RESOURCE_NOT_WRITABLE", ErrorCodeEnum::RESOURCE_NOT_WRITABLE)
        .value("QUEUE_BYPASS_NOT_ALLOWED", ErrorCodeEnum::QUEUE_BYPASS_NOT_ALLOWED)
        .value("QUEUE_FULL", ErrorCodeEnum::QUEUE_FULL)
        .value("RESULT_DATA_DISCARDED", ErrorCodeEnum::RESULT_DATA_DISCARDED)
        .value("FILE_NOT_FOUND", ErrorCodeEnum::FILE_NOT_FOUND)
        .value("FILE_COULD_NOT_BE_OPENED", ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED)
        .value("FILE_COULD_NOT_BE_CLOSED", ErrorCodeEnum::FILE_COULD_NOT_BE_CLOSED)
        .value("FILE_COULD_NOT_BE_READ", ErrorCodeEnum::FILE_COULD_NOT_BE_READ)
        .value("FILE_COULD_NOT_BE_WRITTEN", ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN)
        .value("FILE_IS_EMPTY", ErrorCodeEnum::FILE_IS_EMPTY)
        .value("FILE_VERSION_NOT_SUPPORTED", ErrorCodeEnum::FILE_VERSION_NOT_SUPPORTED)
        .value("POT_STATUS_MISMATCH", ErrorCodeEnum::POT_STATUS_MISMATCH)
        .value("PSEUDO_GAL_NEEDS_GAL", ErrorCodeEnum::PSEUDO_GAL_NEEDS_GAL)
        .value("POTENTIOSTAT_COUPLING_MISMATCH", ErrorCodeEnum::POTENTIOSTAT_COUPLING_MISMATCH)
        .value("HARDWARE_CONFIGURATION_ISSUE", ErrorCodeEnum::HARDWARE_CONFIGURATION_ISSUE)
        .value("POTENTIOSTAT_SWITCH_ON_ISSUE", ErrorCodeEnum::POTENTIOSTAT_SWITCH_ON_ISSUE)
        .value("CALIBRATION_TYPE_UNKNOWN", ErrorCodeEnum::CALIBRATION_TYPE_UNKNOWN)
        .value("CALIBRATION_GAIN_CALIB_ERROR", ErrorCodeEnum::CALIBRATION_GAIN_CALIB_ERROR)
        .value("CALIBRATION_NO_SETTINGS", ErrorCodeEnum::CALIBRATION_NO_SETTINGS)
        .value("CALIBRATION_ERROR", ErrorCodeEnum::CALIBRATION_ERROR)
        .value("PREMATURELY_STOPPED", ErrorCodeEnum::PREMATURELY_STOPPED)
        .value("OUT_OF_MEMORY", ErrorCodeEnum::OUT_OF_MEMORY)
        .value("UNEXPECTED_EXCEPTION", ErrorCodeEnum::UNEXPECTED_EXCEPTION)
        .value("UNKNOWN_ERR", ErrorCodeEnum::UNKNOWN_ERR)
        .finalize();

    registerTrackNames(m);
    registerUnitNames(m);
    registerConnectionFlags(m);

    py::native_enum<WorkstationModeEnum>(m, "WorkstationModeEnum", "enum.Enum",
                                         "\n    Enum indicating the operating mode of the TQ5\n\n"
                                         "    Indicates whether the device can be used normally or whether it is in "
                                         "recovery mode for resetting settings.\n")
        .value("NORMAL", WorkstationModeEnum::NORMAL)
        .value("RECOVERY", WorkstationModeEnum::RECOVERY)
        .value("FAILSAFE", WorkstationModeEnum::FAILSAFE)
        .value("EMULATION", WorkstationModeEnum::EMULATION)
        .finalize();

    py::native_enum<LogSeverityEnum>(m, "LogSeverityEnum", "enum.Enum",
                                     MARLEK_DOC("Enum indicating the severity of a log message."))
        .value("DEBUG", LogSeverityEnum::DEBUG)
        .value("MESSAGE", LogSeverityEnum::MESSAGE)
        .value("WARNING", LogSeverityEnum::WARNING)
        .value("CRITICAL_ERROR", LogSeverityEnum::CRITICAL_ERROR)
        .finalize();

    py::native_enum<EventTypeEnum>(
        m, "EventTypeEnum", "enum.Enum",
        "\n    Enum which indicates the type of an event sent by the TQ5.\n\n"
        "    Returned by :meth:`marlek_link.MarlekLinkEventHandler.get_type`, which tells for which event a\n"
        "    handler created by one of the ``make_*_event_handler`` factories was registered.\n")
        .value("UNKNOWN", EventTypeEnum::UNKNOWN)
        .value("JOB_STATUS_UPDATE", EventTypeEnum::JOB_STATUS_UPDATE)
        .value("MESSAGE_FROM_JOB", EventTypeEnum::MESSAGE_FROM_JOB)
        .value("MESSAGE_FROM_SERVER", EventTypeEnum::MESSAGE_FROM_SERVER)
        .value("JOB_DONE", EventTypeEnum::JOB_DONE)
        .value("LIVE_DATA_HEADER", EventTypeEnum::LIVE_DATA_HEADER)
        .value("LIVE_DATA_HEADER_EIS", EventTypeEnum::LIVE_DATA_HEADER_EIS)
        .value("LIVE_DATA_ROWS", EventTypeEnum::LIVE_DATA_ROWS)
        .value("LIVE_DATA_ROW_EIS", EventTypeEnum::LIVE_DATA_ROW_EIS)
        .value("LIVE_DATA_WAVES", EventTypeEnum::LIVE_DATA_WAVES)
        .value("LIVE_DATA_FINISHED", EventTypeEnum::LIVE_DATA_FINISHED)
        .finalize();
}
