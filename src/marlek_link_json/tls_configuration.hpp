#pragma once

#include <string>
#include <vector>

// The caller's TLS settings for one connection.
struct TlsConfiguration {
    // Paths of PEM files with trusted CA certificates.
    std::vector<std::string> trusted_ca_files;
    // Trusted CA certificates as PEM text; one entry may hold several.
    std::vector<std::string> trusted_ca_certificates;
    // Leaf fingerprints accepted whatever the chain and host-name checks say,
    // in the text form of computeCertFingerprint (compared byte for byte).
    std::vector<std::string> trusted_cert_fingerprints;
    // Name verified and sent as server name under SSL_VERIFY_CUSTOM_HOSTNAME.
    std::string certificate_hostname;

    friend bool operator==(const TlsConfiguration&, const TlsConfiguration&) = default;
};
