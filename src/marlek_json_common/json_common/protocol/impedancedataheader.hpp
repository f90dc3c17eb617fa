#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <string>
#include <vector>

// One impedance computed from two paths.
class ImpedanceDataHeader {
public:
    ImpedanceDataHeader() = default;
    // An empty name is derived from the two paths: "A:1:X" over "B:2:Y"
    // becomes "A.1.X/B.2.Y" (empty when both paths are empty); a given name
    // is kept verbatim.
    ImpedanceDataHeader(std::string numerator, std::string denominator, std::vector<ColumnHeader> columns,
                        std::string impedanceName);

    // Uri of the numerator path.
    const std::string& getNumeratorPath() const { return numerator_; }
    // Uri of the denominator path.
    const std::string& getDenominatorPath() const { return denominator_; }
    const std::string& getImpedanceName() const { return impedanceName_; }
    const std::vector<ColumnHeader>& getColumns() const { return columns_; }

    // The two paths identify the impedance; name and columns take no part.
    friend bool operator==(const ImpedanceDataHeader& a, const ImpedanceDataHeader& b)
    {
        return a.numerator_ == b.numerator_ && a.denominator_ == b.denominator_;
    }

private:
    std::string numerator_;
    std::string denominator_;
    std::string impedanceName_;
    std::vector<ColumnHeader> columns_;
};
