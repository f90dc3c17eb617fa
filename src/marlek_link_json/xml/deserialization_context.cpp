#include "marlek_link_json/xml/deserialization_context.hpp"

namespace MXml {

void DeserializationContext::reportError(std::string message)
{
    if (error.has_value()) {
        return;
    }
    error.emplace(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}", std::move(message));
}

} // namespace MXml
