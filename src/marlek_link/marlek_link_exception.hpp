#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <exception>
#include <string>

// What MarlekLinkExc throws: the error object of the failed operation,
// unchanged, and its message with the parameters filled in.
class MarlekLinkException : public std::exception {
public:
    // The message may come from the workstation: one whose format string does
    // not fit its parameters is shown unformatted rather than failing here.
    explicit MarlekLinkException(const ErrorObject& error);

    const char* what() const noexcept override;
    const ErrorObject& getError() const noexcept { return error; }

private:
    ErrorObject error;
    std::string formattedMessage;
};
