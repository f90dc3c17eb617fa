#include "marlek_link_json/xml/xml_format_version.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

namespace MXml {

std::expected<std::uint64_t, ErrorObject> XmlFormatVersion::checkSupported(std::uint64_t version,
                                                                           std::string_view fileName)
{
    if (version >= MINIMUM_SUPPORTED && version <= CURRENT) {
        return version;
    }
    return std::unexpected(ErrorObject(ErrorCodeEnum::FILE_VERSION_NOT_SUPPORTED,
                                       "file '{0}' has format version {1} which is not supported (supported: {2})",
                                       std::string(fileName), version, supportedRange()));
}

std::string XmlFormatVersion::supportedRange()
{
    return mfmt::format("{}..{}", MINIMUM_SUPPORTED, CURRENT);
}

} // namespace MXml
