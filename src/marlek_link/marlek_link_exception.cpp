#include "marlek_link/marlek_link_exception.hpp"

#include "marlek_json_common/json_common/logging/error_formatter.hpp"

MarlekLinkException::MarlekLinkException(const ErrorObject& error)
    : error(error), formattedMessage(ErrorFormatters::formatOrFallback(error))
{
}

const char* MarlekLinkException::what() const noexcept
{
    return formattedMessage.c_str();
}
