#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// One certificate of the peer's chain, as the caller is shown it.
struct TlsCertificateInfo {
    std::string subject_dn;  // RFC 2253 form
    std::string issuer_dn;   // RFC 2253 form
    std::string common_name; // first CN entry of the subject, raw bytes
    std::chrono::system_clock::time_point valid_from;
    std::chrono::system_clock::time_point valid_until;
    bool is_expired = false;
    std::string serial_number;      // upper-case hexadecimal
    std::string sha256_fingerprint; // "AB:CD:..." (95 characters)
    std::string public_key_type;    // "RSA", "EC", ... or "Unknown (<id>)"
    std::int32_t public_key_bits = 0;
    std::vector<std::string> sans; // DNS entries of the subject alternative name
    std::string pem_string;

    friend bool operator==(const TlsCertificateInfo&, const TlsCertificateInfo&) = default;
};

// The outcome of the certificate check of the last TLS handshake. The first
// failure seen during the handshake is the one reported.
struct TlsVerificationResult {
    bool trusted_by_system = true;
    std::int32_t error_depth = 0;
    std::int32_t openssl_error_code = 0;
    std::string error_message;
    std::vector<TlsCertificateInfo> chain; // leaf first

    friend bool operator==(const TlsVerificationResult&, const TlsVerificationResult&) = default;
};
