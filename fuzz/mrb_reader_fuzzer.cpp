// Feeds arbitrary bytes to the ".mrb" snapshot reader, the first byte
// choosing whether the protocol version is checked. Besides crashes the
// sanitizers catch, it checks that the reader never throws for bad content
// and that no dataset it builds holds more values than the payload.

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/mrb/mrb_reader.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

std::size_t payloadValues(std::string_view content)
{
    const std::size_t separator = content.find('\0');
    return separator == std::string_view::npos ? 0 : (content.size() - separator - 1) / sizeof(double);
}

std::size_t storedValues(const DataSet& dataset)
{
    std::size_t values = 0;
    if (const auto* dc = dynamic_cast<const DcDataset*>(&dataset)) {
        for (const auto& track : dc->getTracks()) {
            values += track.size();
        }
    } else if (const auto* eis = dynamic_cast<const EisDataset*>(&dataset)) {
        for (const auto& impedance : eis->getImpedances()) {
            for (const auto& track : impedance) {
                values += track.size();
            }
        }
        for (std::size_t path = 0; path < eis->getPathsDataHeaders().size(); ++path) {
            for (const auto& wave : eis->getPathWaves(path)) {
                values += wave.size();
            }
        }
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool ignoreProtocolVersion = (data[0] & 1) != 0;
    const std::string_view content(reinterpret_cast<const char*>(data + 1), size - 1);

    std::shared_ptr<DataSet> dataset;
    const ErrorObject error = Mrb::readDataset(content, ignoreProtocolVersion, dataset);
    require((error.getErrorCodeEnum() == ErrorCodeEnum::NONE) == (dataset != nullptr));
    if (dataset) {
        require(storedValues(*dataset) <= payloadValues(content));
        volatile auto rows = dataset->getRowCount();
        (void)rows;
    }

    MrbFileInfo info;
    (void)Mrb::readFileInfo(content, info);
    return 0;
}
