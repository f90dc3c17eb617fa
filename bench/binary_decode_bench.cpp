// Binary result tables decoded into datasets, against allocating and copying
// the same bytes: DC (1e6 rows x 3 columns) and impedance (1e5 rows of the
// common potentiostatic shape, 9 columns, no waves).

#include "side_by_side.hpp"

#include "marlek_json_common/json_common/protocol/columnheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int rounds = 21;

std::string tableOf(std::size_t values)
{
    std::vector<double> numbers(values);
    for (std::size_t i = 0; i < values; ++i) {
        numbers[i] = static_cast<double>(i) * 1e-3;
    }
    return std::string(reinterpret_cast<const char*>(numbers.data()), values * sizeof(double));
}

ColumnHeader column(std::string dimension, std::string unit)
{
    return ColumnHeader(std::move(dimension), std::move(unit), "");
}

LiveDataHeaderEis impedanceHeader()
{
    const std::vector<ColumnHeader> pathColumns{column("dc", "V"), column("amplitude", "V")};
    PotentiostatDataHeader potentiostat;
    potentiostat.uri = "MAIN:1:POT";
    potentiostat.columns = {column("dc", "V")};
    return LiveDataHeaderEis(
        "Electrochemical Impedance Spectroscopy", "EIS", {column("frequency", "Hz"), column("time", "s")},
        {ImpedanceDataHeader("MAIN:1:U", "MAIN:1:I", {column("|impedance|", "Ohm"), column("phase", "rad")}, "")},
        {PathDataHeader("MAIN:1:U", "voltage", pathColumns, UserPolynomial()),
         PathDataHeader("MAIN:1:I", "current", pathColumns, UserPolynomial())},
        {}, {potentiostat});
}

// What a decoder cannot do without: a buffer of the size of the table,
// filled from it.
void allocateAndCopy(const std::string& table, double& sink)
{
    auto copy = std::make_unique_for_overwrite<double[]>(table.size() / sizeof(double));
    std::memcpy(copy.get(), table.data(), table.size());
    sink += copy[table.size() / sizeof(double) - 1];
}

} // namespace

int main()
{
    double sink = 0;
    const double gigabytes = 1e-9;

    const std::size_t dcRows = 1'000'000;
    const std::string dcTable = tableOf(dcRows * 3);
    const LiveDataHeader dcHeader("Cyclic Voltammetry", "CV", {{"time", "s"}, {"voltage", "V"}, {"current", "A"}});
    const double dcSize = static_cast<double>(dcTable.size()) * gigabytes;
    bench::compare(
        "DC binary result, 1e6 rows x 3 -> DcDataset (GB/s)",
        {"library dcDatasetFromBinary",
         [&] {
             const DcDataset dataset = dcDatasetFromBinary(dcTable, LiveDataHeader(dcHeader), JobInfo());
             sink += dataset.getTracks()[2].back();
         }},
        {"allocate + memcpy", [&] { allocateAndCopy(dcTable, sink); }}, rounds,
        [dcSize](double seconds) { return dcSize / seconds; }, "GB/s");

    const std::size_t eisRows = 100'000;
    const std::string eisTable = tableOf(eisRows * 9);
    const LiveDataHeaderEis eisHeader = impedanceHeader();
    const double eisSize = static_cast<double>(eisTable.size()) * gigabytes;
    bench::compare(
        "impedance binary result, 1e5 rows x 9 -> EisDataset (GB/s)",
        {"library eisDatasetFromBinary",
         [&] {
             const EisDataset dataset =
                 eisDatasetFromBinary(eisTable, LiveDataHeaderEis(eisHeader), eisRows, JobInfo(), 10);
             sink += static_cast<double>(dataset.getRowCount());
         }},
        {"allocate + memcpy", [&] { allocateAndCopy(eisTable, sink); }}, rounds,
        [eisSize](double seconds) { return eisSize / seconds; }, "GB/s");

    return sink == 0 ? 1 : 0;
}
