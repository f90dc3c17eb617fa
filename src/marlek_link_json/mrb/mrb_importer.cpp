#include "marlek_link_json/mrb/mrb_importer.hpp"

#include "marlek_link_json/file_input.hpp"
#include "marlek_link_json/mrb/mrb_reader.hpp"

#include <cstddef>
#include <string>
#include <utility>

namespace {

constexpr std::size_t FILE_INFO_PREFIX = 65536;

} // namespace

MrbImporter::MrbImporter(bool ignoreProtocolVersionMismatch)
    : ignoreProtocolVersionMismatch(ignoreProtocolVersionMismatch)
{
}

void MrbImporter::setIgnoreProtocolVersionMismatch(bool ignore)
{
    ignoreProtocolVersionMismatch = ignore;
}

bool MrbImporter::getIgnoreProtocolVersionMismatch() const
{
    return ignoreProtocolVersionMismatch;
}

std::expected<std::shared_ptr<DataSet>, ErrorObject> MrbImporter::importFromMemory(std::string_view data) const
{
    std::shared_ptr<DataSet> dataset;
    if (ErrorObject error = Mrb::readDataset(data, ignoreProtocolVersionMismatch, dataset);
        error.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        return std::unexpected(std::move(error));
    }
    return dataset;
}

std::expected<std::shared_ptr<DataSet>, ErrorObject> MrbImporter::importFromFile(const std::filesystem::path& path) const
{
    auto content = FileInput::readWhole(path);
    if (!content) {
        return std::unexpected(std::move(content.error()));
    }
    return importFromMemory(*content);
}

std::expected<MrbFileInfo, ErrorObject> MrbImporter::readFileInfoFromMemory(std::string_view data) const
{
    MrbFileInfo info;
    if (ErrorObject error = Mrb::readFileInfo(data, info); error.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        return std::unexpected(std::move(error));
    }
    return info;
}

std::expected<MrbFileInfo, ErrorObject> MrbImporter::readFileInfo(const std::filesystem::path& path) const
{
    auto prefix = FileInput::readBeginning(path, FILE_INFO_PREFIX);
    if (!prefix) {
        return std::unexpected(std::move(prefix.error()));
    }
    if (prefix->find('\0') == std::string::npos) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                                           "no metadata/payload separator (0x00) within the first 65536 bytes: "
                                           "not a valid 'With Metadata' (.mrb) file"));
    }
    return readFileInfoFromMemory(*prefix);
}

ErrorObject MrbImporter::makeTypeMismatchError()
{
    return ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                       "imported dataset type does not match the requested type");
}
