#pragma once
// Doubles in XML text and attributes, independent of the process's locale.
// The XML library's own number methods go through the C library's printf and
// sscanf, which write and read "0,5" under a decimal-comma locale.

#include <optional>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

namespace MXml {

// Sets the element's text to numtext::seventeenDigits(value), the text the
// XML library writes in the "C" locale ("nan" whatever the sign bit).
void setDoubleText(tinyxml2::XMLElement* element, double value);

// Sets the attribute to numtext::seventeenDigits(value).
void setDoubleAttribute(tinyxml2::XMLElement* element, const char* name, double value);

// The number that starts the element's first child, when that child is
// text, read like numtext::parseLeadingDouble; nothing otherwise.
std::optional<double> doubleText(const tinyxml2::XMLElement& element);

// The number that starts the attribute's value, read like
// numtext::parseLeadingDouble; nothing when the attribute is missing or
// does not start with a number.
std::optional<double> doubleAttribute(const tinyxml2::XMLElement& element, const char* name);

} // namespace MXml
