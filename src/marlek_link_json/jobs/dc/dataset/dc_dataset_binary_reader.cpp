#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary_reader.hpp"

#include "marlek_link_json/jobs/dc/dataset/dc_table_columns.hpp"

#include <utility>
#include <vector>

DcDataset dcDatasetFromBinary(std::string_view table, LiveDataHeader&& header, JobInfo&& info)
{
    std::vector<std::vector<double>> tracks = splitDcTableColumns(table, header.getColumns().size());
    return DcDataset(header, std::move(info), std::move(tracks));
}
