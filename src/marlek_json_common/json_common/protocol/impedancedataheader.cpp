#include "marlek_json_common/json_common/protocol/impedancedataheader.hpp"

#include <algorithm>
#include <utility>

namespace {

std::string derivedName(const std::string& numerator, const std::string& denominator)
{
    if (numerator.empty() && denominator.empty()) {
        return {};
    }
    std::string name = numerator + '/' + denominator;
    std::ranges::replace(name, ':', '.');
    return name;
}

} // namespace

ImpedanceDataHeader::ImpedanceDataHeader(std::string numerator, std::string denominator,
                                         std::vector<ColumnHeader> columns, std::string impedanceName)
    : numerator_(std::move(numerator)),
      denominator_(std::move(denominator)),
      impedanceName_(impedanceName.empty() ? derivedName(numerator_, denominator_) : std::move(impedanceName)),
      columns_(std::move(columns))
{
}
