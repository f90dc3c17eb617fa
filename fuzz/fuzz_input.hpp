#pragma once
// Helpers the text-reading fuzz targets share: parsing the input as JSON or
// XML, and formatting an error the way the exception text and the job's last
// error message do (where a peer's message meets the formatter).

#include "marlek_json_common/json_common/logging/error_formatter.hpp"

#include <boost/json.hpp>
#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz_input {

inline std::string_view text(const std::uint8_t* data, std::size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

inline std::optional<boost::json::value> json(const std::uint8_t* data, std::size_t size)
{
    boost::system::error_code error;
    boost::json::value value = boost::json::parse(text(data, size), error);
    if (error) {
        return std::nullopt;
    }
    return value;
}

// The document's root element, or null when the input is no XML.
inline tinyxml2::XMLElement* xmlRoot(tinyxml2::XMLDocument& document, const std::uint8_t* data, std::size_t size)
{
    if (document.Parse(reinterpret_cast<const char*>(data), size) != tinyxml2::XML_SUCCESS) {
        return nullptr;
    }
    return document.RootElement();
}

// A peer's message is only ever shown through the fallback formatter, which
// must neither throw nor take long, whatever the format string holds.
inline void format(const ErrorObject& error)
{
    volatile std::size_t sink = ErrorFormatters::formatOrFallback(error).size();
    (void)sink;
}

} // namespace fuzz_input
