// Feeds arbitrary text to the two readers of the device tree: as the JSON of
// a "get_hardware_info" result and as the "hardware-info" element of a
// measurement file. A tree that the JSON reader accepts is also written to
// its XML form and read back.

#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info_xml.hpp"

#include <boost/json.hpp>
#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void readJson(const std::string& text)
{
    boost::system::error_code ec;
    const auto value = boost::json::parse(text, ec);
    if (ec) {
        return;
    }
    HardwareInfo info;
    try {
        info = boost::json::value_to<HardwareInfo>(value);
    } catch (const boost::system::system_error&) {
        return;
    }
    tinyxml2::XMLDocument document;
    document.InsertEndChild(MXml::hardwareInfoToXmlNode(info, document));
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    tinyxml2::XMLDocument parsed;
    if (parsed.Parse(printer.CStr()) == tinyxml2::XML_SUCCESS) {
        HardwareInfo back;
        (void)MXml::hardwareInfoFromXmlNode(back, parsed.RootElement());
    }
}

void readXml(const std::string& text)
{
    tinyxml2::XMLDocument document;
    if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
        return;
    }
    HardwareInfo info;
    (void)MXml::hardwareInfoFromXmlNode(info, document.RootElement());
    (void)info.containsUrn("MAIN:1:POT");
    (void)info.convertUrlToUrn("MAIN:1:POT");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    readJson(text);
    readXml(text);
    return 0;
}
