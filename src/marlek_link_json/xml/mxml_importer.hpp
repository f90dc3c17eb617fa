#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/xml/imported_file.hpp"
#include "marlek_link_json/xml/marlek_file_info.hpp"
#include "marlek_link_json/xml/xml_deserializer.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <expected>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace MXml {

// Reads standalone XML files and bare elements back. The payload's element
// name chooses the reader: "marlek-measurement" or "dataset". Bad input is
// returned as an ErrorObject, never thrown.
class MXmlImporter {
public:
    MXmlImporter();

    // `source` names the text in error messages.
    std::expected<ImportedFile, ErrorObject> importFrom(std::string_view text, std::string_view source) const;
    std::expected<ImportedFile, ErrorObject> importFromMemory(std::string_view text) const;
    std::expected<ImportedFile, ErrorObject> importFromFile(const std::filesystem::path& path) const;

    // Reads what the exporter's bare serialize writes, as the current format
    // version.
    std::expected<std::shared_ptr<XmlSerializable>, ErrorObject> deserialize(std::string_view text) const;

    // The information block alone, whatever version it states.
    std::expected<MarlekFileInfo, ErrorObject> readFileInfoFromMemory(std::string_view text) const;
    // Looks only at the first 65536 bytes, so large files are inspected cheaply.
    std::expected<MarlekFileInfo, ErrorObject> readFileInfo(const std::filesystem::path& path) const;

    // For callers that asked for one kind of object and got another.
    static ErrorObject makeTypeMismatchError();

private:
    const AbstractXmlDeserializer* readerFor(const std::string& name) const;

    std::map<std::string, std::unique_ptr<AbstractXmlDeserializer>> readers;
};

} // namespace MXml
