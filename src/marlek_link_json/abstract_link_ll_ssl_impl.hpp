#pragma once

#include "marlek_link_json/tls_configuration.hpp"
#include "marlek_link_json/tls_verification_result.hpp"

// The TLS object of a TLS low-level session, as its owner sees it: the
// configuration goes in before connecting, the verification result comes out
// after the connect outcome.
class AbstractLinkLlSslImpl {
public:
    virtual ~AbstractLinkLlSslImpl() = default;
    virtual void setTlsConfiguration(const TlsConfiguration& configuration) = 0;
    virtual const TlsVerificationResult& getLastVerificationResult() = 0;
};
