#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/xml/marlek_file_info.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace MXml {

// The state of one XML read. Readers return null on failure and leave the
// reason here; only the first reported failure is kept, because later ones
// are usually consequences of it.
struct DeserializationContext {
    static constexpr std::uint64_t CURRENT_FORMAT_VERSION = 4;

    MarlekFileInfo fileInfo;
    std::uint64_t formatVersion = CURRENT_FORMAT_VERSION;
    std::optional<ErrorObject> error;

    // Records RESOURCE_CONTENT_INVALID with the message as its parameter,
    // unless a failure has been recorded already.
    void reportError(std::string message);
};

} // namespace MXml
