#pragma once

// Host, port, HTTP user and password as a script gives them to a link.
// Name resolution and the HTTP headers read them as C texts, which would
// end at an embedded NUL without notice, so such a text is refused.

#include <string>

// The text itself; ValueError naming the argument when it holds a NUL.
const std::string& connectionText(const std::string& text, const char* argument);
