#pragma once

#include "marlek_link_json/xml/marlek_file_info.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <memory>

namespace MXml {

// An imported object with the information block of the file it came from.
struct ImportedFile {
    std::shared_ptr<XmlSerializable> object;
    MarlekFileInfo file_info;
};

} // namespace MXml
