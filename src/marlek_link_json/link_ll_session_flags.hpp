#pragma once

#include <cstdint>

// The caller's connection flags: an unsigned bit set that reaches the session
// factory and every low-level session unchanged. Unlisted bits are ignored.
struct MarlekLinkConnectionFlags {
    static constexpr std::uint32_t NONE = 0x0;
    static constexpr std::uint32_t USE_SSL = 0x1;
    static constexpr std::uint32_t SKIP_SSL_CERT_VALIDATION = 0x2;
    static constexpr std::uint32_t SKIP_SSL_HOSTNAME_MATCHING = 0x4;
    static constexpr std::uint32_t SSL_DO_NOT_USE_SYSTEM_CAS = 0x8;
    static constexpr std::uint32_t IGNORE_PROTOCOL_MISMATCH = 0x10;
    static constexpr std::uint32_t SSL_VERIFY_CUSTOM_HOSTNAME = 0x20;
};
