#pragma once

#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

// The names of an element's child elements, in document order.
std::vector<std::string> childNames(const tinyxml2::XMLElement* element);
