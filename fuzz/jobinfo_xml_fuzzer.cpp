// Reads arbitrary bytes as the "job-info" element of a dataset file, then
// formats its error and writes it back.

#include "fuzz_input.hpp"

#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* root = fuzz_input::xmlRoot(document, data, size);
    if (root == nullptr) {
        return 0;
    }
    const JobInfo info = MXml::jobInfoFromElement(root);
    fuzz_input::format(info.error);
    tinyxml2::XMLDocument output;
    tinyxml2::XMLElement* parent = output.NewElement("dataset");
    output.InsertEndChild(parent);
    MXml::appendJobinfoElement(info, parent);
    tinyxml2::XMLPrinter printer;
    output.Print(&printer);
    return 0;
}
