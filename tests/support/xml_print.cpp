#include "support/xml_print.hpp"

#include <tinyxml2.h>

std::string print(const tinyxml2::XMLNode& node)
{
    tinyxml2::XMLPrinter printer(nullptr, true);
    node.Accept(&printer);
    return printer.CStr();
}
