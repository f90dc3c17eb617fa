#pragma once

#include <string>

namespace tinyxml2 {
class XMLNode;
}

// The node as compact XML text, without line breaks or indentation.
std::string print(const tinyxml2::XMLNode& node);
