#pragma once

// Raised by a job's result reader when the completion is sound JSON but the
// content it carries cannot be decoded (a file that is not base64): the run
// then fails with RESOURCE_CONTENT_INVALID instead of JSON_MALFORMED.

#include <stdexcept>

class ResultContentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
