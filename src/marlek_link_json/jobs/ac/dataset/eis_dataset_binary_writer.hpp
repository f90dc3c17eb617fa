#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_binary_table.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include <expected>

// The table of a dataset, always in the wave-id layout (readable with
// protocol version 0 or 10 onwards). Fails with RESOURCE_CONTENT_INVALID,
// naming the first offending column or wave, when a column does not hold one
// value per row or the waves do not match their bookkeeping.
std::expected<EisBinaryTable, ErrorObject> eisDatasetToBinary(const EisDataset& dataset);
