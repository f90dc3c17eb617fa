#pragma once

#include <string>

// One impedance the workstation computes during an impedance measurement:
// the complex quotient of two synchronously sampled paths.
struct ImpedanceConfiguration {
    std::string numerator;
    std::string denominator;
    // Empty lets the workstation name the impedance after its two paths.
    std::string impedance_name;

    friend bool operator==(const ImpedanceConfiguration&, const ImpedanceConfiguration&) = default;
};
