#pragma once

// A one-paragraph docstring in the module's reStructuredText layout: a
// leading newline, four blanks of indentation and a trailing newline.
#define MARLEK_DOC(text) "\n    " text "\n"
