#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Decodes file content sent as standard base64 (no URL-safe alphabet). Line
// breaks and other ASCII white space (space, tab, CR, LF) are skipped
// wherever they stand. "=" is accepted only as padding at the end of the
// last group, and the padding may be missing ("QUI" gives "AB"). Any other
// byte, or an "=" elsewhere, raises std::runtime_error with the reason: a
// file must never come back shortened without notice.
std::vector<std::byte> decodeBase64Content(std::string_view text);
