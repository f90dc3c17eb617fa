#include "marlek_link_json/mrb/mrb_reader.hpp"

#include "marlek_json_common/json_common/json/precise_parse.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_json_common/json_common/text/format.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary_reader.hpp"
#include "marlek_link_json/protocol_version.hpp"

#include <boost/json.hpp>

#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <utility>

namespace Mrb {

namespace {

const char* const MISSING_SEPARATOR = "missing metadata/payload separator (0x00): not a valid 'With Metadata' (.mrb) file";

ErrorObject contentInvalid(std::string text)
{
    return ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}", std::move(text));
}

ErrorObject jsonMalformed(std::string text)
{
    return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", std::move(text));
}

bool failed(const ErrorObject& error)
{
    return error.getErrorCodeEnum() != ErrorCodeEnum::NONE;
}

// The metadata before the first 0x00 byte, parsed as strict JSON, and the
// payload after it.
ErrorObject splitSnapshot(std::string_view content, boost::json::object& metadata, std::string_view& payload)
{
    const std::size_t separator = content.find('\0');
    if (separator == std::string_view::npos) {
        return contentInvalid(MISSING_SEPARATOR);
    }
    boost::system::error_code ec;
    boost::json::value parsed = PreciseJson::parse(content.substr(0, separator), ec);
    if (ec) {
        return jsonMalformed(ec.message());
    }
    if (!parsed.is_object()) {
        return ErrorObject(ErrorCodeEnum::JSON_OBJECT_EXPECTED, "json object expected");
    }
    metadata = std::move(parsed.get_object());
    payload = content.substr(separator + 1);
    return ErrorObject();
}

// A count or version must be a whole number in the unsigned 64-bit range;
// anything else is a fault of the file, named by its key.
ErrorObject toUnsigned(const boost::json::value& number, std::string_view key, std::uint64_t& target)
{
    boost::system::error_code ec;
    const auto value = number.to_number<std::uint64_t>(ec);
    if (ec) {
        return contentInvalid("'" + std::string(key) + "' is not an unsigned 64-bit integer");
    }
    target = value;
    return ErrorObject();
}

const boost::json::value* numberMember(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    return member != nullptr && member->is_number() ? member : nullptr;
}

const boost::json::object* objectMember(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    return member != nullptr ? member->if_object() : nullptr;
}

// Runs a conversion of a JSON member into one of our records; a member the
// conversion refuses is a fault of the file, named by its key.
template <typename Read>
ErrorObject convertMember(std::string_view key, Read&& read)
{
    try {
        read();
        return ErrorObject();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const boost::system::system_error& e) {
        return contentInvalid("'" + std::string(key) + "' could not be read: " + e.code().message());
    } catch (const std::exception& e) {
        return contentInvalid("'" + std::string(key) + "' could not be read: " + e.what());
    }
}

ErrorObject checkProtocolVersion(const boost::json::object& metadata, bool ignoreMismatch, std::uint64_t& version)
{
    const std::uint64_t library = ProtocolVersion::library();
    const auto* workstation = objectMember(metadata, "workstation_info");
    const auto* stated = workstation != nullptr ? numberMember(*workstation, "protocol_version") : nullptr;
    if (ignoreMismatch) {
        version = library;
        return stated != nullptr ? toUnsigned(*stated, "protocol_version", version) : ErrorObject();
    }
    if (workstation == nullptr) {
        return contentInvalid("missing workstation_info: cannot verify the protocol version");
    }
    if (stated == nullptr) {
        return contentInvalid("missing workstation_info.protocol_version: cannot verify the protocol version");
    }
    if (ErrorObject error = toUnsigned(*stated, "protocol_version", version); failed(error)) {
        return error;
    }
    if (version != 0 && version > library) {
        return ErrorObject(ErrorCodeEnum::PROTOCOL_VERSION_MISMATCH, "protocol version mismatch");
    }
    return ErrorObject();
}

} // namespace

ErrorObject readDataset(std::string_view content, bool ignoreProtocolVersionMismatch,
                        std::shared_ptr<DataSet>& dataset)
{
    boost::json::object metadata;
    std::string_view payload;
    if (ErrorObject error = splitSnapshot(content, metadata, payload); failed(error)) {
        return error;
    }

    if (const auto* size = numberMember(metadata, "size")) {
        std::uint64_t declared = 0;
        if (ErrorObject error = toUnsigned(*size, "size", declared); failed(error)) {
            return error;
        }
        if (declared != payload.size()) {
            return contentInvalid(
                mfmt::format("payload size {} does not match the declared size {}", payload.size(), declared));
        }
    }

    std::uint64_t protocolVersion = 0;
    if (ErrorObject error = checkProtocolVersion(metadata, ignoreProtocolVersionMismatch, protocolVersion);
        failed(error)) {
        return error;
    }

    const auto* header = objectMember(metadata, "header");
    if (header == nullptr) {
        return jsonMalformed("resource metadata 'header' is missing or not an object");
    }
    const auto* dataHeader = header->if_contains("job_data_header");
    if (dataHeader == nullptr || !dataHeader->is_object()) {
        return jsonMalformed("'job_data_header' is missing or not an object");
    }

    JobInfo jobInfo;
    if (const auto* info = objectMember(*header, "job_info")) {
        if (ErrorObject error = convertMember("job_info", [&] { jobInfo = jobInfoFromJson(*info); }); failed(error)) {
            return error;
        }
    }

    // The EIS reader sizes nothing by this count beyond what the payload
    // holds, so a forged count costs no memory.
    std::uint64_t rows = 0;
    if (const auto* declaredRows = numberMember(*header, "number_of_rows")) {
        if (ErrorObject error = toUnsigned(*declaredRows, "number_of_rows", rows); failed(error)) {
            return error;
        }
    }

    const auto* subType = metadata.if_contains("sub_type");
    if (subType == nullptr || !subType->is_string()) {
        return contentInvalid("'sub_type' is missing or not a string");
    }
    if (subType->get_string() == "DATASET_DC") {
        LiveDataHeader dcHeader;
        if (ErrorObject error = convertMember(
                "job_data_header", [&] { dcHeader = boost::json::value_to<LiveDataHeader>(*dataHeader); });
            failed(error)) {
            return error;
        }
        dataset = std::make_shared<DcDataset>(dcDatasetFromBinary(payload, std::move(dcHeader), std::move(jobInfo)));
        return ErrorObject();
    }
    if (subType->get_string() == "DATASET_AC") {
        LiveDataHeaderEis eisHeader;
        if (ErrorObject error = convertMember(
                "job_data_header", [&] { eisHeader = boost::json::value_to<LiveDataHeaderEis>(*dataHeader); });
            failed(error)) {
            return error;
        }
        dataset = std::make_shared<EisDataset>(eisDatasetFromBinary(payload, std::move(eisHeader),
                                                                    static_cast<std::size_t>(rows),
                                                                    std::move(jobInfo),
                                                                    static_cast<std::size_t>(protocolVersion)));
        return ErrorObject();
    }
    return contentInvalid(mfmt::format("unsupported dataset sub_type '{}'", std::string_view(subType->get_string())));
}

ErrorObject readFileInfo(std::string_view content, MrbFileInfo& info)
{
    boost::json::object metadata;
    std::string_view payload;
    if (ErrorObject error = splitSnapshot(content, metadata, payload); failed(error)) {
        return error;
    }

    MrbFileInfo result;
    if (const auto* subType = metadata.if_contains("sub_type"); subType != nullptr && subType->is_string()) {
        result.sub_type = subType->get_string();
    }
    if (const auto* name = metadata.if_contains("name"); name != nullptr && name->is_string()) {
        result.name = name->get_string();
    }
    if (const auto* size = numberMember(metadata, "size")) {
        if (ErrorObject error = toUnsigned(*size, "size", result.size); failed(error)) {
            return error;
        }
    }
    if (const auto* workstation = objectMember(metadata, "workstation_info")) {
        if (const auto* version = numberMember(*workstation, "protocol_version")) {
            if (ErrorObject error = toUnsigned(*version, "protocol_version", result.protocol_version);
                failed(error)) {
                return error;
            }
        }
    }
    if (const auto* header = objectMember(metadata, "header")) {
        if (const auto* rows = numberMember(*header, "number_of_rows")) {
            if (ErrorObject error = toUnsigned(*rows, "number_of_rows", result.number_of_rows); failed(error)) {
                return error;
            }
        }
    }
    info = std::move(result);
    return ErrorObject();
}

} // namespace Mrb
