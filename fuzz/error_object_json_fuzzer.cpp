// Reads arbitrary bytes as the JSON error object of a reply or event, then
// formats its message and writes it back.

#include "fuzz_input.hpp"

#include "marlek_json_common/json_common/logging/error_object_json.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto value = fuzz_input::json(data, size);
    if (!value) {
        return 0;
    }
    // The reader is documented never to throw on content.
    const ErrorObject error = boost::json::value_to<ErrorObject>(*value);
    fuzz_input::format(error);
    volatile std::size_t sink = boost::json::serialize(boost::json::value_from(error)).size();
    (void)sink;
    return 0;
}
