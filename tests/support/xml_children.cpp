#include "support/xml_children.hpp"

#include <tinyxml2.h>

std::vector<std::string> childNames(const tinyxml2::XMLElement* element)
{
    std::vector<std::string> names;
    for (const auto* child = element->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
        names.emplace_back(child->Name());
    }
    return names;
}
