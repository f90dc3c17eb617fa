#pragma once

#include <filesystem>
#include <string>

// One certificate with its key, in PEM, and the leaf fingerprint text the
// client computes (SHA-256 of the DER, upper-case hex pairs joined by ':').
struct TlsTestIdentity {
    std::string certificatePem;
    std::string privateKeyPem;
    std::string fingerprint;
};

// Certificates made at test time, so the TLS tests are hermetic: a test CA,
// leaves signed by it for "localhost" (DNS SAN only, no IP SAN) and for
// "other.test", and a self-signed "localhost" leaf. Made once per process.
class TlsTestMaterial {
public:
    static const TlsTestMaterial& shared();

    TlsTestIdentity ca;
    TlsTestIdentity localhost;
    TlsTestIdentity otherHost;
    TlsTestIdentity selfSigned;

    // Writes the CA certificate as a PEM file into directory; returns its path.
    std::filesystem::path writeCaFile(const std::filesystem::path& directory) const;

private:
    TlsTestMaterial();
};
