#pragma once

#include "marlek_link_json/abstract_link_ll_ssl_impl.hpp"

#include <boost/asio/ssl/context.hpp>
#include <boost/asio/ssl/verify_context.hpp>

#include <openssl/types.h>

#include <cstdint>
#include <string>

// The TLS object of a TLS session: the client context its stream is built
// with, the caller's TLS configuration and the outcome of the last
// certificate check. A chain is accepted when the chain and host-name checks
// pass, or when the leaf's fingerprint is on the allow-list; the first
// failure seen during a handshake is the one reported.
class LinkLlSslImpl : public AbstractLinkLlSslImpl {
public:
    // Keeps a reference to the owning session's flags.
    explicit LinkLlSslImpl(unsigned& flags);

    void setTlsConfiguration(const TlsConfiguration& configuration) override;
    const TlsVerificationResult& getLastVerificationResult() override;

    boost::asio::ssl::context& context() { return sslContext; }

    // Starts a new handshake's record; the last result stays.
    void beginPeerVerification();
    // The name verified and sent as TLS server name.
    std::string resolveVerificationHostname(const std::string& host) const;
    bool verifyCallback(bool preverified, boost::asio::ssl::verify_context& context,
                        const std::string& host);

    static TlsCertificateInfo extractCertDetails(X509* certificate);
    // SHA-256 of the DER form: 32 upper-case hex pairs joined by ':'.
    static std::string computeCertFingerprint(X509* certificate);

private:
    struct VerificationRecord {
        bool failed = false;
        std::int32_t depth = 0;
        std::int32_t code = 0;
        std::string message;
    };

    boost::asio::ssl::context sslContext;
    unsigned& flags;
    TlsConfiguration configuration;
    VerificationRecord record;
    TlsVerificationResult lastResult;
};
