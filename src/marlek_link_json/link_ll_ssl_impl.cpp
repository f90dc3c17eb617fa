#include "marlek_link_json/link_ll_ssl_impl.hpp"

#include "marlek_link_json/link_ll_session_flags.hpp"

#include <boost/asio/buffer.hpp>
#include <boost/asio/ssl/host_name_verification.hpp>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <ctime>
#include <iostream>
#include <memory>

namespace ssl = boost::asio::ssl;

namespace {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioFree>;

std::string bioText(BIO* bio)
{
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

std::string rfc2253(BIO* bio, const X509_NAME* name)
{
    (void)BIO_reset(bio);
    if (name == nullptr || X509_NAME_print_ex(bio, name, 0, XN_FLAG_RFC2253) < 0) {
        return {};
    }
    return bioText(bio);
}

std::string firstCommonName(const X509_NAME* name)
{
    if (name == nullptr) {
        return {};
    }
    const int index = X509_NAME_get_index_by_NID(name, NID_commonName, -1);
    if (index < 0) {
        return {};
    }
    const ASN1_STRING* data = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index));
    if (data == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(ASN1_STRING_get0_data(data)),
                       static_cast<std::size_t>(ASN1_STRING_length(data)));
}

std::chrono::system_clock::time_point toTimePoint(const ASN1_TIME* time)
{
    std::tm broken{};
    if (time == nullptr || ASN1_TIME_to_tm(time, &broken) != 1) {
        return {};
    }
    return std::chrono::system_clock::from_time_t(timegm(&broken));
}

std::string serialNumber(X509* certificate)
{
    BIGNUM* number = ASN1_INTEGER_to_BN(X509_get0_serialNumber(certificate), nullptr);
    if (number == nullptr) {
        return {};
    }
    std::string text;
    if (char* hex = BN_bn2hex(number)) {
        text = hex;
        OPENSSL_free(hex);
    }
    BN_free(number);
    // The library writes whole bytes ("02"); the digits carry no leading zero.
    const std::size_t first = text.starts_with('-') ? 1 : 0;
    if (text.size() > first + 1 && text[first] == '0') {
        text.erase(first, 1);
    }
    return text;
}

std::string keyTypeName(int baseId)
{
    switch (baseId) {
    case EVP_PKEY_RSA: return "RSA";
    case EVP_PKEY_DH: return "DH";
    case EVP_PKEY_DSA: return "DSA";
    case EVP_PKEY_EC: return "EC";
    case EVP_PKEY_X25519: return "X25519";
    case EVP_PKEY_X448: return "X448";
    case EVP_PKEY_ED25519: return "Ed25519";
    case EVP_PKEY_ED448: return "Ed448";
    default: return "Unknown (" + std::to_string(baseId) + ")";
    }
}

std::vector<std::string> dnsNames(X509* certificate)
{
    std::vector<std::string> names;
    auto* entries = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    if (entries == nullptr) {
        return names;
    }
    for (int i = 0; i < sk_GENERAL_NAME_num(entries); ++i) {
        const GENERAL_NAME* entry = sk_GENERAL_NAME_value(entries, i);
        if (entry->type == GEN_DNS) {
            const ASN1_STRING* text = entry->d.dNSName;
            names.emplace_back(reinterpret_cast<const char*>(ASN1_STRING_get0_data(text)),
                               static_cast<std::size_t>(ASN1_STRING_length(text)));
        }
    }
    GENERAL_NAMES_free(entries);
    return names;
}

} // namespace

LinkLlSslImpl::LinkLlSslImpl(unsigned& flags) : sslContext(ssl::context::tls_client), flags(flags)
{
    boost::system::error_code error;
    sslContext.set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 |
                               ssl::context::no_sslv3 | ssl::context::no_tlsv1 |
                               ssl::context::no_tlsv1_1,
                           error);
    if (error) {
        std::cerr << "SSL: could not set minimum TLS version: " << error.message() << std::endl;
    }
    if ((flags & MarlekLinkConnectionFlags::SSL_DO_NOT_USE_SYSTEM_CAS) == 0) {
        error.clear();
        sslContext.set_default_verify_paths(error);
        if (error) {
            std::cerr << "SSL: ctx_set_default_verify_paths failed: " << error.message() << std::endl;
        }
    }
}

void LinkLlSslImpl::setTlsConfiguration(const TlsConfiguration& newConfiguration)
{
    configuration = newConfiguration;
    for (const std::string& path : configuration.trusted_ca_files) {
        boost::system::error_code error;
        sslContext.load_verify_file(path, error);
        if (error) {
            std::cerr << "SSL: could not load custom CA file '" << path << "': " << error.message()
                      << std::endl;
        }
    }
    for (const std::string& pem : configuration.trusted_ca_certificates) {
        boost::system::error_code error;
        sslContext.add_certificate_authority(boost::asio::buffer(pem), error);
        if (error) {
            std::cerr << "SSL: could not load in-memory CA certificate: " << error.message() << std::endl;
        }
    }
}

const TlsVerificationResult& LinkLlSslImpl::getLastVerificationResult()
{
    return lastResult;
}

void LinkLlSslImpl::beginPeerVerification()
{
    record = VerificationRecord{};
}

std::string LinkLlSslImpl::resolveVerificationHostname(const std::string& host) const
{
    if ((flags & MarlekLinkConnectionFlags::SSL_VERIFY_CUSTOM_HOSTNAME) != 0) {
        if (!configuration.certificate_hostname.empty()) {
            return configuration.certificate_hostname;
        }
        std::cerr << "SSL: SSL_VERIFY_CUSTOM_HOSTNAME is set but certificate_hostname is empty; "
                     "falling back to the connection host '"
                  << host << "'" << std::endl;
    }
    return host;
}

bool LinkLlSslImpl::verifyCallback(bool preverified, ssl::verify_context& context,
                                   const std::string& host)
{
    X509_STORE_CTX* store = context.native_handle();
    const int depth = X509_STORE_CTX_get_error_depth(store);
    const int code = X509_STORE_CTX_get_error(store);

    if (!preverified && !record.failed) {
        record = VerificationRecord{true, depth, code, X509_verify_cert_error_string(code)};
    }
    // Certificates above the leaf never stop the handshake by themselves: the
    // allow-list, checked at the leaf, may still accept the chain.
    if (depth > 0) {
        return true;
    }

    if ((flags & MarlekLinkConnectionFlags::SKIP_SSL_HOSTNAME_MATCHING) == 0) {
        const std::string name = resolveVerificationHostname(host);
        // The chain's own verdict is recorded above; this checks the name alone.
        if (!ssl::host_name_verification(name)(true, context) && !record.failed) {
            record = VerificationRecord{
                true, 0, X509_V_ERR_APPLICATION_VERIFICATION,
                "Hostname mismatch (Certificate does not match '" + name + "')"};
        }
    }

    std::vector<TlsCertificateInfo> chain;
    if (STACK_OF(X509)* certificates = X509_STORE_CTX_get0_chain(store)) {
        for (int i = 0; i < sk_X509_num(certificates); ++i) {
            chain.push_back(extractCertDetails(sk_X509_value(certificates, i)));
        }
    }

    if (!chain.empty()) {
        for (const std::string& allowed : configuration.trusted_cert_fingerprints) {
            if (chain.front().sha256_fingerprint == allowed) {
                record.failed = false;
                record.code = 0;
                break;
            }
        }
    }

    TlsVerificationResult result;
    if (record.failed) {
        result.trusted_by_system = false;
        result.error_depth = record.depth;
        result.openssl_error_code = record.code;
        result.error_message = record.message;
    }
    result.chain = std::move(chain);
    lastResult = std::move(result);
    return !record.failed;
}

TlsCertificateInfo LinkLlSslImpl::extractCertDetails(X509* certificate)
{
    TlsCertificateInfo info;
    if (certificate == nullptr) {
        return info;
    }
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (bio) {
        info.subject_dn = rfc2253(bio.get(), X509_get_subject_name(certificate));
        info.issuer_dn = rfc2253(bio.get(), X509_get_issuer_name(certificate));
    }
    info.common_name = firstCommonName(X509_get_subject_name(certificate));
    info.valid_from = toTimePoint(X509_get0_notBefore(certificate));
    info.valid_until = toTimePoint(X509_get0_notAfter(certificate));
    info.is_expired = info.valid_until < std::chrono::system_clock::now();
    info.sha256_fingerprint = computeCertFingerprint(certificate);
    info.serial_number = serialNumber(certificate);
    if (EVP_PKEY* key = X509_get0_pubkey(certificate)) {
        info.public_key_bits = EVP_PKEY_get_bits(key);
        info.public_key_type = keyTypeName(EVP_PKEY_get_base_id(key));
    }
    BioPtr pem(BIO_new(BIO_s_mem()));
    if (pem && PEM_write_bio_X509(pem.get(), certificate) == 1) {
        info.pem_string = bioText(pem.get());
    }
    info.sans = dnsNames(certificate);
    return info;
}

std::string LinkLlSslImpl::computeCertFingerprint(X509* certificate)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (certificate == nullptr || X509_digest(certificate, EVP_sha256(), digest, &length) != 1) {
        return {};
    }
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0) {
            text.push_back(':');
        }
        text.push_back(hex[digest[i] >> 4]);
        text.push_back(hex[digest[i] & 0x0f]);
    }
    return text;
}
