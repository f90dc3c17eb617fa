// Feeds arbitrary bytes to the impedance binary table reader under a header
// whose shape, declared row count and protocol version also come from the
// input, then walks every query of the resulting dataset. Besides crashes the
// sanitizers catch, it checks that nothing the reader built is larger than
// the table could justify.

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    std::uint8_t byte()
    {
        return position < size ? data[position++] : 0;
    }

    std::uint64_t word()
    {
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i) {
            value |= static_cast<std::uint64_t>(byte()) << (8 * i);
        }
        return value;
    }

    std::string_view rest() const
    {
        return position < size ? std::string_view(reinterpret_cast<const char*>(data + position), size - position)
                               : std::string_view();
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

const char* const DIMENSIONS[] = {"dc", "|impedance|", "phase", "amplitude", "filter", "gain"};

std::vector<ColumnHeader> columns(std::uint8_t count)
{
    std::vector<ColumnHeader> result;
    for (std::uint8_t i = 0; i < count % 4; ++i) {
        result.emplace_back(DIMENSIONS[i % 6], "", "");
    }
    return result;
}

LiveDataHeaderEis headerFrom(Input& input)
{
    const std::uint8_t metaFlags = input.byte();
    std::vector<ColumnHeader> meta;
    const char* const META[] = {"frequency", "wave_id", "time", "wave_size", "periods", "wave_id"};
    for (int bit = 0; bit < 6; ++bit) {
        if (metaFlags & (1u << bit)) {
            meta.emplace_back(META[bit], "", "");
        }
    }
    const std::uint8_t shape = input.byte();
    const std::uint8_t columnCount = input.byte();
    std::vector<ImpedanceDataHeader> impedances;
    for (int i = 0; i < shape % 3; ++i) {
        impedances.emplace_back("P:" + std::to_string(i), "P:" + std::to_string(i + 1), columns(columnCount), "");
    }
    std::vector<PathDataHeader> paths;
    for (int i = 0; i < (shape / 3) % 4; ++i) {
        paths.emplace_back("P:" + std::to_string(i), i % 2 == 0 ? "voltage" : "current", columns(columnCount >> 2),
                           UserPolynomial());
    }
    std::vector<PathDataHeader> asyncPaths;
    for (int i = 0; i < (shape / 12) % 3; ++i) {
        asyncPaths.emplace_back("A:" + std::to_string(i), "voltage", columns(columnCount >> 4), UserPolynomial());
    }
    std::vector<PotentiostatDataHeader> potentiostats;
    for (int i = 0; i < (shape / 36) % 3; ++i) {
        potentiostats.push_back({"POT:" + std::to_string(i), columns(columnCount >> 6), UserPolynomial()});
    }
    return LiveDataHeaderEis("fuzz", "F", std::move(meta), std::move(impedances), std::move(paths),
                             std::move(asyncPaths), std::move(potentiostats));
}

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

std::size_t storedValues(const EisDataset& ds)
{
    std::size_t values = 0;
    for (std::size_t path = 0; path < ds.getPathsDataHeaders().size(); ++path) {
        for (const auto& wave : ds.getPathWaves(path)) {
            values += wave.size();
        }
    }
    return values;
}

void walk(const EisDataset& ds)
{
    volatile double sink = ds.getInfo().first_time_value;
    const std::size_t paths = ds.getPathsDataHeaders().size();
    for (std::size_t row = 0; row <= ds.getRowCount(); ++row) {
        sink = static_cast<double>(ds.getWaveIdForRow(row));
        for (std::size_t path = 0; path <= paths; ++path) {
            sink = static_cast<double>(ds.getWaveForRow(path, row).size());
        }
        sink = static_cast<double>(ds.getWaveForRow("voltage", row).size());
    }
    for (std::size_t i = 0; i <= ds.getImpedancesHeaders().size(); ++i) {
        sink = static_cast<double>(ds.getImpedances(i).size());
    }
    for (const auto& entry : ds.getImpedancesData()) {
        sink = static_cast<double>(entry.second.getCalculatedSpectra().size());
    }
    sink = static_cast<double>(ds.indexOfPathDimension("dc") + ds.indexOfAsyncPathDimension("dc"));
    sink = static_cast<double>(ds.getFrequencies().size() + ds.getTimes().size() + ds.getPeriods().size());
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input(data, size);
    const std::size_t protocolVersion = input.byte() % 16;
    LiveDataHeaderEis header = headerFrom(input);
    const std::uint64_t declaredRows = input.word();
    const std::string_view table = input.rest();
    const std::size_t values = table.size() / sizeof(double);

    EisDataset ds = eisDatasetFromBinary(table, std::move(header), declaredRows, JobInfo{}, protocolVersion);
    require(ds.getRowCount() <= values || ds.getMetaDataHeader().empty());
    require(storedValues(ds) <= values);
    walk(ds);

    const EisDataset copy(ds);
    const EisDataset moved(std::move(ds));
    walk(copy);
    walk(moved);
    walk(ds);
    return 0;
}
