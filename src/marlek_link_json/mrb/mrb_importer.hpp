#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/mrb/mrb_file_info.hpp"

#include <expected>
#include <filesystem>
#include <memory>
#include <string_view>

// Imports ".mrb" snapshots, the results a workstation exports with their
// metadata, as a DcDataset or an EisDataset without a connection. Refuses
// snapshots written by a newer protocol than the library speaks unless told
// to ignore that.
class MrbImporter {
public:
    explicit MrbImporter(bool ignoreProtocolVersionMismatch = false);

    void setIgnoreProtocolVersionMismatch(bool ignore);
    bool getIgnoreProtocolVersionMismatch() const;

    std::expected<std::shared_ptr<DataSet>, ErrorObject> importFromMemory(std::string_view data) const;
    std::expected<std::shared_ptr<DataSet>, ErrorObject> importFromFile(const std::filesystem::path& path) const;

    // Neither the payload nor the protocol version is checked.
    std::expected<MrbFileInfo, ErrorObject> readFileInfoFromMemory(std::string_view data) const;
    // Reads at most the first 65536 bytes, so the metadata must end there.
    std::expected<MrbFileInfo, ErrorObject> readFileInfo(const std::filesystem::path& path) const;

    // For callers that asked for one kind of dataset and got the other.
    static ErrorObject makeTypeMismatchError();

private:
    bool ignoreProtocolVersionMismatch;
};
