#pragma once

// The Python class ImportedFile: an imported object with the information
// block of its file.

#include "marlek_link_json/xml/marlek_file_info.hpp"

#include <memory>

namespace MXml {
class XmlSerializable;
} // namespace MXml

struct PyImportedFile {
    std::shared_ptr<MXml::XmlSerializable> object;
    MXml::MarlekFileInfo file_info;
};
