#pragma once

#include "support/error_parts.hpp"
#include "support/file_contents.hpp"
#include "support/temporary_folder.hpp"

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <string>

namespace file_test {

using TempFolder = TemporaryFolder;

// The name these tests know formatted by.
inline std::string textOf(const ErrorObject& error)
{
    return formatted(error);
}

} // namespace file_test
