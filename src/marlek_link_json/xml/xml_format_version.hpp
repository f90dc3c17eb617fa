#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace MXml {

// The format versions of standalone XML files: the exporter writes CURRENT,
// the importer reads every version from MINIMUM_SUPPORTED to CURRENT.
struct XmlFormatVersion {
    static constexpr std::uint64_t CURRENT = 4;
    static constexpr std::uint64_t MINIMUM_SUPPORTED = 1;

    // The version itself when it can be read, else FILE_VERSION_NOT_SUPPORTED
    // naming the file, the version and the supported range.
    static std::expected<std::uint64_t, ErrorObject> checkSupported(std::uint64_t version,
                                                                    std::string_view fileName);
    // "1..4"
    static std::string supportedRange();
};

} // namespace MXml
