#include "marlek_link_json/jobs/common/live_data/liverows_json.hpp"

#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

namespace {

const boost::json::array& arrayOf(const boost::json::value& value)
{
    const auto* array = value.if_array();
    if (array == nullptr) {
        jsonmembers::throwJsonError(boost::json::error::not_array);
    }
    return *array;
}

void readRow(const boost::json::array& cells, std::vector<double>& row)
{
    row.resize(cells.size());
    double* out = row.data();
    for (const auto& cell : cells) {
        *out++ = cell.to_number<double>();
    }
}

} // namespace

void readLiveRows(const boost::json::value& data, std::vector<std::vector<double>>& rows)
{
    const auto& list = arrayOf(data);
    rows.resize(list.size());
    auto row = rows.begin();
    for (const auto& element : list) {
        readRow(arrayOf(element), *row++);
    }
}
