#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"

#include <bit>
#include <cstddef>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the DC table holds little-endian doubles and is copied without conversion");

std::expected<std::string, ErrorObject> dcDatasetToBinary(const DcDataset& dataset)
{
    const auto& tracks = dataset.getTracks();
    if (tracks.empty()) {
        return std::string();
    }
    const std::size_t rows = tracks.front().size();
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (tracks[i].size() != rows) {
            return std::unexpected(ErrorObject(
                ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                "DC column " + std::to_string(i) + " has " + std::to_string(tracks[i].size())
                    + " values but column 0 has " + std::to_string(rows)
                    + " - a ragged dataset cannot be written as a flat binary table"));
        }
    }
    std::string table;
    table.reserve(rows * sizeof(double) * tracks.size());
    for (const auto& track : tracks) {
        table.append(reinterpret_cast<const char*>(track.data()), track.size() * sizeof(double));
    }
    return table;
}
