#include "marlek_link_json/xml/mxml_importer.hpp"

#include "marlek_json_common/json_common/text/format.hpp"
#include "marlek_link_json/file_input.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/xml_format_version.hpp"

#include <tinyxml2.h>

#include <cstddef>
#include <string_view>
#include <utility>

namespace MXml {

namespace {

constexpr std::size_t FILE_INFO_PREFIX = 65536;
constexpr std::string_view FILE_INFO_OPENING = "<marlek-fileinfo";
constexpr std::string_view FILE_INFO_CLOSING = "</marlek-fileinfo>";

ErrorObject contentInvalid(std::string text)
{
    return ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}", std::move(text));
}

ErrorObject unknownTypeName(const char* what, const std::string& name)
{
    return ErrorObject(ErrorCodeEnum::TYPE_NAME_UNKNOWN, "{0} of type name {1} unknown", std::string(what), name);
}

// Parses the text into the document and returns its first element.
std::expected<tinyxml2::XMLElement*, ErrorObject> findRoot(tinyxml2::XMLDocument& document, std::string_view text)
{
    if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) {
        const char* reason = document.ErrorStr();
        return std::unexpected(contentInvalid(reason != nullptr && *reason != '\0'
                                                  ? std::string("malformed XML: ") + reason
                                                  : std::string("malformed XML")));
    }
    tinyxml2::XMLElement* root = document.FirstChildElement();
    if (root == nullptr) {
        return std::unexpected(contentInvalid("document has no root element"));
    }
    return root;
}

std::expected<MarlekFileInfo, ErrorObject> fileInfoOf(const tinyxml2::XMLElement* root)
{
    const tinyxml2::XMLElement* block = root->FirstChildElement(MarlekFileInfo::XML_ELEMENT_NAME);
    if (block == nullptr) {
        return std::unexpected(contentInvalid("no <marlek-fileinfo> element found, not a standalone Marlek XML file"));
    }
    return MarlekFileInfo::buildFromXmlElement(block);
}

std::expected<std::shared_ptr<XmlSerializable>, ErrorObject>
readPayload(const AbstractXmlDeserializer& reader, tinyxml2::XMLElement* payload, DeserializationContext& context)
{
    std::shared_ptr<XmlSerializable> object = reader.deserialize(payload, context);
    if (object) {
        return object;
    }
    if (context.error.has_value()) {
        return std::unexpected(std::move(*context.error));
    }
    return std::unexpected(contentInvalid(std::string("could not deserialize <") + payload->Name() + ">"));
}

} // namespace

MXmlImporter::MXmlImporter()
{
    readers.emplace(Measurement::XML_ELEMENT_NAME, std::make_unique<XmlDeserializer<Measurement>>());
    readers.emplace("dataset", std::make_unique<XmlDeserializer<DataSet>>());
}

const AbstractXmlDeserializer* MXmlImporter::readerFor(const std::string& name) const
{
    const auto found = readers.find(name);
    return found != readers.end() ? found->second.get() : nullptr;
}

std::expected<ImportedFile, ErrorObject> MXmlImporter::importFrom(std::string_view text,
                                                                  std::string_view source) const
{
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    const auto root = findRoot(document, text);
    if (!root) {
        return std::unexpected(root.error());
    }
    auto info = fileInfoOf(*root);
    if (!info) {
        return std::unexpected(std::move(info.error()));
    }
    const std::string name = (*root)->Name();
    if (name != info->type) {
        return std::unexpected(
            contentInvalid("root element <" + name + "> does not match the declared type '" + info->type + "'"));
    }
    const auto version = XmlFormatVersion::checkSupported(info->file_version, source);
    if (!version) {
        return std::unexpected(version.error());
    }
    const AbstractXmlDeserializer* reader = readerFor(name);
    if (reader == nullptr) {
        return std::unexpected(unknownTypeName("xml file", name));
    }
    tinyxml2::XMLElement* payload = (*root)->FirstChildElement(name.c_str());
    if (payload == nullptr) {
        return std::unexpected(contentInvalid("no <" + name + "> payload element inside the file"));
    }
    DeserializationContext context{*info, *version, std::nullopt};
    auto object = readPayload(*reader, payload, context);
    if (!object) {
        return std::unexpected(std::move(object.error()));
    }
    return ImportedFile{std::move(*object), std::move(*info)};
}

std::expected<ImportedFile, ErrorObject> MXmlImporter::importFromMemory(std::string_view text) const
{
    return importFrom(text, "<memory>");
}

std::expected<ImportedFile, ErrorObject> MXmlImporter::importFromFile(const std::filesystem::path& path) const
{
    const auto content = FileInput::readWhole(path);
    if (!content) {
        return std::unexpected(content.error());
    }
    return importFrom(*content, path.string());
}

std::expected<std::shared_ptr<XmlSerializable>, ErrorObject> MXmlImporter::deserialize(std::string_view text) const
{
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    const auto root = findRoot(document, text);
    if (!root) {
        return std::unexpected(root.error());
    }
    const std::string name = (*root)->Name();
    const AbstractXmlDeserializer* reader = readerFor(name);
    if (reader == nullptr) {
        return std::unexpected(unknownTypeName("xml element", name));
    }
    DeserializationContext context{MarlekFileInfo(), XmlFormatVersion::CURRENT, std::nullopt};
    return readPayload(*reader, *root, context);
}

std::expected<MarlekFileInfo, ErrorObject> MXmlImporter::readFileInfoFromMemory(std::string_view text) const
{
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    const auto root = findRoot(document, text);
    if (!root) {
        return std::unexpected(root.error());
    }
    return fileInfoOf(*root);
}

std::expected<MarlekFileInfo, ErrorObject> MXmlImporter::readFileInfo(const std::filesystem::path& path) const
{
    const auto prefix = FileInput::readBeginning(path, FILE_INFO_PREFIX);
    if (!prefix) {
        return std::unexpected(prefix.error());
    }
    const std::size_t begin = prefix->find(FILE_INFO_OPENING);
    const std::size_t end = begin == std::string::npos ? std::string::npos : prefix->find(FILE_INFO_CLOSING, begin);
    if (end == std::string::npos) {
        return std::unexpected(contentInvalid(mfmt::format(
            "no <marlek-fileinfo> element within the first {} bytes, not a standalone Marlek XML file",
            FILE_INFO_PREFIX)));
    }
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    const auto block =
        findRoot(document, std::string_view(*prefix).substr(begin, end + FILE_INFO_CLOSING.size() - begin));
    if (!block) {
        return std::unexpected(block.error());
    }
    return MarlekFileInfo::buildFromXmlElement(*block);
}

ErrorObject MXmlImporter::makeTypeMismatchError()
{
    return contentInvalid("imported object type does not match the requested type");
}

} // namespace MXml
