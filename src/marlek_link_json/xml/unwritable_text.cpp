#include "marlek_link_json/xml/unwritable_text.hpp"

#include "marlek_link_json/xml/xml_characters.hpp"

#include <tinyxml2.h>

namespace MXml {

namespace {

// Stops at the first finding: the visits of the element's children and of
// every later sibling end there.
class UnwritableTextFinder : public tinyxml2::XMLVisitor {
public:
    bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* attribute) override
    {
        for (; attribute != nullptr; attribute = attribute->Next()) {
            if (const auto character = firstUnwritableCharacter(attribute->Value())) {
                found = "<" + std::string(element.Name()) + "> attribute '" + attribute->Name() + "' holds "
                        + character->description;
                return false;
            }
        }
        return true;
    }

    bool VisitExit(const tinyxml2::XMLElement&) override { return !found.has_value(); }

    bool Visit(const tinyxml2::XMLText& text) override
    {
        if (const auto character = firstUnwritableCharacter(text.Value())) {
            const tinyxml2::XMLElement* parent = text.Parent() != nullptr ? text.Parent()->ToElement() : nullptr;
            found = "the text of <" + std::string(parent != nullptr ? parent->Name() : "") + "> holds "
                    + character->description;
            return false;
        }
        return true;
    }

    std::optional<std::string> found;
};

} // namespace

std::optional<std::string> unwritableTextIn(const tinyxml2::XMLDocument& document)
{
    UnwritableTextFinder finder;
    document.Accept(&finder);
    return finder.found;
}

} // namespace MXml
