#pragma once

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"
#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <string>
#include <utility>
#include <vector>

// One signal path of an impedance measurement.
class PathDataHeader {
public:
    PathDataHeader() = default;
    PathDataHeader(std::string uri, std::string name, std::vector<ColumnHeader> columns, UserPolynomial polynomial)
        : uri_(std::move(uri)), name_(std::move(name)), columns_(std::move(columns)), polynomial_(std::move(polynomial))
    {
    }

    // Device address of the path.
    const std::string& getUri() const { return uri_; }
    // Dimension name of the path, such as "voltage".
    const std::string& getName() const { return name_; }
    const std::vector<ColumnHeader>& getColumns() const { return columns_; }
    const UserPolynomial& getPolynomial() const { return polynomial_; }

    // Name and polynomial take no part.
    friend bool operator==(const PathDataHeader& a, const PathDataHeader& b)
    {
        return a.uri_ == b.uri_ && a.columns_ == b.columns_;
    }

private:
    std::string uri_;
    std::string name_;
    std::vector<ColumnHeader> columns_;
    UserPolynomial polynomial_;
};
