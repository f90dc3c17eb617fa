#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <utility>

ColumnHeader::ColumnHeader(std::string dimension, std::string unit)
    : dimension(std::move(dimension)), unit(std::move(unit))
{
}

ColumnHeader::ColumnHeader(std::string dimension, std::string unit, std::string urn)
    : dimension(std::move(dimension)), unit(std::move(unit)), urn(std::move(urn))
{
}
