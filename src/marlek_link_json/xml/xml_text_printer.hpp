#pragma once

#include <tinyxml2.h>

#include <cstddef>

namespace MXml {

// Prints a document so that every text reads back unchanged. XML readers
// turn a raw carriage return into a line feed, in attribute values line feeds
// and tabs into spaces, and drop a text of blanks alone; these characters are
// written as character references instead. A CDATA section cannot hold a reference, nor the text
// "]]>": such a section is written as several sections with the reference,
// or the split "]]>", between them.
class XmlTextPrinter : public tinyxml2::XMLPrinter {
public:
    // What the text being written is part of.
    enum class Context { TEXT, ATTRIBUTE, BLANK_TEXT };

    explicit XmlTextPrinter(bool compact);

    bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* attribute) override;
    bool Visit(const tinyxml2::XMLText& text) override;

protected:
    using tinyxml2::XMLPrinter::Write;
    void Write(const char* data, std::size_t size) override;

private:
    void writeCdata(const char* text);

    Context context = Context::TEXT;
};

} // namespace MXml
