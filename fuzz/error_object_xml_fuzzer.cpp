// Reads arbitrary bytes as the "last-error" element of a job information
// file, then formats its message and writes it back.

#include "fuzz_input.hpp"

#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* root = fuzz_input::xmlRoot(document, data, size);
    if (root == nullptr) {
        return 0;
    }
    const ErrorObject error = readErrorElement(root);
    fuzz_input::format(error);
    tinyxml2::XMLDocument output;
    appendErrorElement(error, output.NewElement("job-info"));
    return 0;
}
