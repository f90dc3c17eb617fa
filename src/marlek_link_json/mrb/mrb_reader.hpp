#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/mrb/mrb_file_info.hpp"

#include <memory>
#include <string_view>

// The reading of ".mrb" snapshots: JSON metadata, one 0x00 byte, then the
// dataset's binary table. Nothing here throws for bad content: every fault
// of the bytes is returned as an ErrorObject (only memory exhaustion leaves
// as std::bad_alloc). On failure the out-parameter is left untouched.
namespace Mrb {

// The whole snapshot as a DcDataset or an EisDataset.
ErrorObject readDataset(std::string_view content, bool ignoreProtocolVersionMismatch,
                        std::shared_ptr<DataSet>& dataset);

// The descriptive fields of the metadata; the payload is neither needed nor
// checked, so the beginning of a snapshot up to its separator is enough.
ErrorObject readFileInfo(std::string_view content, MrbFileInfo& info);

} // namespace Mrb
