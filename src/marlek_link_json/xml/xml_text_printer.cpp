#include "marlek_link_json/xml/xml_text_printer.hpp"

#include <algorithm>
#include <string>
#include <string_view>

namespace MXml {

namespace {

constexpr std::string_view CDATA_END = "]]>";

const char* referenceFor(char c, XmlTextPrinter::Context context)
{
    using Context = XmlTextPrinter::Context;
    switch (c) {
    case '\r':
        return "&#13;";
    case '\n':
        return context != Context::TEXT ? "&#10;" : nullptr;
    case '\t':
        return context != Context::TEXT ? "&#9;" : nullptr;
    case ' ':
        return context == Context::BLANK_TEXT ? "&#32;" : nullptr;
    default:
        return nullptr;
    }
}

bool isBlank(std::string_view text)
{
    return !text.empty() && text.find_first_not_of(" \t\n\r") == std::string_view::npos;
}

// Where the first CDATA section of `text` has to end: before a carriage
// return, or between the brackets and the ">" of "]]>".
std::size_t cdataPieceLength(std::string_view text)
{
    const std::size_t carriageReturn = text.find('\r');
    const std::size_t end = text.find(CDATA_END);
    const std::size_t split = end == std::string_view::npos ? end : end + 2;
    return std::min(carriageReturn, split);
}

} // namespace

XmlTextPrinter::XmlTextPrinter(bool compact) : tinyxml2::XMLPrinter(nullptr, compact) {}

bool XmlTextPrinter::VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* attribute)
{
    const tinyxml2::XMLElement* parent = element.Parent() != nullptr ? element.Parent()->ToElement() : nullptr;
    OpenElement(element.Name(), parent != nullptr ? CompactMode(*parent) : CompactMode(element));
    context = Context::ATTRIBUTE;
    for (; attribute != nullptr; attribute = attribute->Next()) {
        PushAttribute(attribute->Name(), attribute->Value());
    }
    context = Context::TEXT;
    return true;
}

bool XmlTextPrinter::Visit(const tinyxml2::XMLText& text)
{
    const std::string_view value = text.Value();
    if (!text.CData()) {
        // Parsers drop a text of blanks alone between two tags.
        context = isBlank(value) ? Context::BLANK_TEXT : Context::TEXT;
        tinyxml2::XMLPrinter::Visit(text);
        context = Context::TEXT;
        return true;
    }
    if (cdataPieceLength(value) == std::string_view::npos) {
        return tinyxml2::XMLPrinter::Visit(text);
    }
    writeCdata(text.Value());
    return true;
}

void XmlTextPrinter::writeCdata(const char* text)
{
    std::string_view rest = text;
    // The first piece goes through PushText, which closes the element's
    // start tag; the later ones follow it directly.
    bool first = true;
    while (!rest.empty()) {
        const std::size_t length = std::min(cdataPieceLength(rest), rest.size());
        if (length == 0) {
            // A carriage return: outside any section, where it becomes a
            // character reference.
            if (first) {
                PushText("\r", false);
            } else {
                Write("\r", 1);
            }
            rest.remove_prefix(1);
        } else if (first) {
            PushText(std::string(rest.substr(0, length)).c_str(), true);
            rest.remove_prefix(length);
        } else {
            tinyxml2::XMLPrinter::Write("<![CDATA[");
            tinyxml2::XMLPrinter::Write(rest.data(), length);
            tinyxml2::XMLPrinter::Write("]]>");
            rest.remove_prefix(length);
        }
        first = false;
    }
}

void XmlTextPrinter::Write(const char* data, std::size_t size)
{
    const char* const end = data + size;
    while (data != end) {
        const char* special = std::find_if(data, end, [this](char c) { return referenceFor(c, context) != nullptr; });
        tinyxml2::XMLPrinter::Write(data, static_cast<std::size_t>(special - data));
        if (special == end) {
            return;
        }
        tinyxml2::XMLPrinter::Write(referenceFor(*special, context));
        data = special + 1;
    }
}

} // namespace MXml
