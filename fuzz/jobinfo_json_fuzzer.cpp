// Reads arbitrary bytes as the JSON job information of a reply or event,
// then formats its error and writes it back.

#include "fuzz_input.hpp"

#include "marlek_link_json/jobs/common/jobinfo_json.hpp"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto value = fuzz_input::json(data, size);
    if (!value) {
        return 0;
    }
    JobInfo info;
    try {
        info = jobInfoFromJson(*value);
    } catch (const std::exception&) {
        // Refusing a malformed member by an exception is the reader's contract.
        return 0;
    }
    fuzz_input::format(info.error);
    const boost::json::object written = jobInfoToJson(info);
    volatile std::size_t sink = boost::json::serialize(written).size();
    (void)sink;
    return 0;
}
