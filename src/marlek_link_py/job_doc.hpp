#pragma once

// The pieces every job constructor's docstring is built from, so that all of
// them read alike: the ":param" line of an argument, made from the
// docstring its field carries, and the closing example of the "/job/start"
// request the job sends.

#include <string>
#include <string_view>

namespace job_doc {

// The ":param" entry of an argument. `doc` is a docstring as a property has
// it (indented, with blank lines around); its first paragraph follows the
// name, later paragraphs and "* " bullet lines are indented below it, and
// long lines are wrapped. An argument without a docstring is a binding
// error.
std::string param(std::string_view name, std::string_view doc);

inline constexpr std::string_view kMetaDataParam =
    "    :param meta_data: dict[str, str] with user-defined key-value pairs\n";
inline constexpr std::string_view kStopConditionsParam =
    "    :param stop_conditions: list of stop condition objects from :ref:`python_stopconditions`\n";

// The collapsed example of the request a job of this type sends. The
// parameters are a JSON object; lines after its first keep their indentation
// relative to it. The request id is made from the type.
std::string requestExample(std::string_view type, std::string_view parameters);

} // namespace job_doc
