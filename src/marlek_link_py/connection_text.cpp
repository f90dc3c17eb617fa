#include "marlek_link_py/connection_text.hpp"

#include <pybind11/pybind11.h>

const std::string& connectionText(const std::string& text, const char* argument)
{
    if (text.find('\0') != std::string::npos) {
        throw pybind11::value_error(std::string(argument) + " must not contain a NUL character");
    }
    return text;
}
