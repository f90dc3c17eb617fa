#pragma once

#include <vector>

// Calibration polynomial of a channel, path or potentiostat; coefficients in
// ascending order of power.
struct UserPolynomial {
    // Offset 0, gain 1: what a missing polynomial stands for.
    std::vector<double> coefficients{0.0, 1.0};

    UserPolynomial() = default;

    // An empty list would describe no mapping at all; it becomes the neutral
    // polynomial. Assigning to `coefficients` directly stores any list.
    explicit UserPolynomial(std::vector<double> values);

    // Lexicographic over the coefficients; a NaN coefficient sorts after
    // every number and ties with another NaN, so this is a strict weak order
    // and the next coefficient decides between two NaNs.
    bool operator<(const UserPolynomial& other) const;

    friend bool operator==(const UserPolynomial&, const UserPolynomial&) = default;
};
