#pragma once

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"
#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// Elements of the impedance dataset's XML form shared by its writer and
// reader.

// `elementName` with one "coefficient" child per coefficient. A list that the
// reader would refuse is written as the same mapping in readable form: an
// empty list as the identity, a single constant c as c + 0 x.
void appendPolynomialElement(const UserPolynomial& polynomial, tinyxml2::XMLElement* parent,
                             const char* elementName);

// The polynomial in the first child `elementName`. `found` is whether it is
// valid: present, every coefficient a number and at least two of them;
// otherwise the result is the identity.
UserPolynomial readPolynomialChildElement(const tinyxml2::XMLElement* parent, const char* elementName, bool& found);

// One "column" per column header, with `urn` (the group key of the column's
// object) in place of the column's own URN.
void appendXmlColumnElements(const std::vector<ColumnHeader>& columns, const std::string& urn,
                             tinyxml2::XMLElement* parent);
