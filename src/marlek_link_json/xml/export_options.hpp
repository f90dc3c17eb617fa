#pragma once

#include <string>

namespace MXml {

// What the exporter writes into every file's information block, and how it
// lays the text out.
struct ExportOptions {
    std::string generator;
    std::string generator_version;
    bool compact_xml = false;

    friend bool operator==(const ExportOptions&, const ExportOptions&) = default;
};

} // namespace MXml
