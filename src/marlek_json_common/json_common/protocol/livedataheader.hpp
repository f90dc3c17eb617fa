#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <string>
#include <utility>
#include <vector>

// Layout of a DC measurement's table: one column header per column, in
// table order. Base of the impedance header, whose columns are its meta
// columns.
class LiveDataHeader {
public:
    LiveDataHeader() = default;
    LiveDataHeader(std::string measurementType, std::string shortMeasurementType, std::vector<ColumnHeader> columns)
        : measurementType_(std::move(measurementType)),
          shortMeasurementType_(std::move(shortMeasurementType)),
          columns_(std::move(columns))
    {
    }
    virtual ~LiveDataHeader() = default;

    LiveDataHeader(const LiveDataHeader&) = default;
    LiveDataHeader(LiveDataHeader&&) = default;
    LiveDataHeader& operator=(const LiveDataHeader&) = default;
    LiveDataHeader& operator=(LiveDataHeader&&) = default;

    // Long name of the technique.
    const std::string& getMeasurementType() const { return measurementType_; }
    const std::string& getShortMeasurementType() const { return shortMeasurementType_; }
    const std::vector<ColumnHeader>& getColumns() const { return columns_; }

    // Only the columns decide: the type texts are labels.
    friend bool operator==(const LiveDataHeader& a, const LiveDataHeader& b) { return a.columns_ == b.columns_; }

private:
    std::string measurementType_;
    std::string shortMeasurementType_;
    std::vector<ColumnHeader> columns_;
};
