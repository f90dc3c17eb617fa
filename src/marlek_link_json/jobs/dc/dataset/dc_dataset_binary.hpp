#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary_reader.hpp"

#include <expected>
#include <string>

// The table of the dataset, or RESOURCE_CONTENT_INVALID when its tracks
// differ in length (a flat table cannot describe that).
std::expected<std::string, ErrorObject> dcDatasetToBinary(const DcDataset& dataset);
