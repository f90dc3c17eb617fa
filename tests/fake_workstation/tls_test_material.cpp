#include "fake_workstation/tls_test_material.hpp"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <fstream>
#include <memory>
#include <stdexcept>

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
    void operator()(X509* cert) const { X509_free(cert); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;
using CertPtr = std::unique_ptr<X509, CertFree>;
using BioPtr = std::unique_ptr<BIO, BioFree>;

void check(bool ok, const char* what)
{
    if (!ok) {
        throw std::runtime_error(std::string("test TLS material: ") + what);
    }
}

KeyPtr newKey()
{
    KeyPtr key(EVP_EC_gen("P-256"));
    check(key != nullptr, "key generation");
    return key;
}

void addExtension(X509* cert, X509* issuer, int nid, const char* value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    check(extension != nullptr, "extension");
    X509_add_ext(cert, extension, -1);
    X509_EXTENSION_free(extension);
}

// Signs with issuerKey; a null issuer makes the certificate self-signed.
CertPtr makeCertificate(EVP_PKEY* key, const char* commonName, const char* dnsName, bool isCa,
                        X509* issuer, EVP_PKEY* issuerKey, long serial)
{
    CertPtr cert(X509_new());
    check(cert != nullptr, "certificate");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 60L * 60 * 24 * 30);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* subject = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(subject, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Marlek Test"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509* signer = issuer != nullptr ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));

    addExtension(cert.get(), signer, NID_basic_constraints, isCa ? "critical,CA:TRUE" : "CA:FALSE");
    addExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    if (isCa) {
        addExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        addExtension(cert.get(), signer, NID_key_usage, "critical,digitalSignature");
        addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
        addExtension(cert.get(), signer, NID_subject_alt_name, (std::string("DNS:") + dnsName).c_str());
    }
    check(X509_sign(cert.get(), issuerKey != nullptr ? issuerKey : key, EVP_sha256()) > 0, "signing");
    return cert;
}

std::string bioText(BIO* bio)
{
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(length));
}

TlsTestIdentity toIdentity(X509* cert, EVP_PKEY* key)
{
    TlsTestIdentity identity;
    BioPtr certBio(BIO_new(BIO_s_mem()));
    check(PEM_write_bio_X509(certBio.get(), cert) == 1, "certificate PEM");
    identity.certificatePem = bioText(certBio.get());
    BioPtr keyBio(BIO_new(BIO_s_mem()));
    check(PEM_write_bio_PrivateKey(keyBio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1, "key PEM");
    identity.privateKeyPem = bioText(keyBio.get());

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    check(X509_digest(cert, EVP_sha256(), digest, &length) == 1, "digest");
    static constexpr char hex[] = "0123456789ABCDEF";
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0) {
            identity.fingerprint.push_back(':');
        }
        identity.fingerprint.push_back(hex[digest[i] >> 4]);
        identity.fingerprint.push_back(hex[digest[i] & 0x0f]);
    }
    return identity;
}

} // namespace

TlsTestMaterial::TlsTestMaterial()
{
    KeyPtr caKey = newKey();
    CertPtr caCert = makeCertificate(caKey.get(), "Marlek Test CA", nullptr, true, nullptr, nullptr, 1);
    ca = toIdentity(caCert.get(), caKey.get());

    KeyPtr localKey = newKey();
    CertPtr localCert = makeCertificate(localKey.get(), "localhost", "localhost", false, caCert.get(),
                                        caKey.get(), 2);
    localhost = toIdentity(localCert.get(), localKey.get());

    KeyPtr otherKey = newKey();
    CertPtr otherCert = makeCertificate(otherKey.get(), "other.test", "other.test", false, caCert.get(),
                                        caKey.get(), 3);
    otherHost = toIdentity(otherCert.get(), otherKey.get());

    KeyPtr selfKey = newKey();
    CertPtr selfCert = makeCertificate(selfKey.get(), "localhost", "localhost", false, nullptr, nullptr, 4);
    selfSigned = toIdentity(selfCert.get(), selfKey.get());
}

const TlsTestMaterial& TlsTestMaterial::shared()
{
    static const TlsTestMaterial material;
    return material;
}

std::filesystem::path TlsTestMaterial::writeCaFile(const std::filesystem::path& directory) const
{
    std::filesystem::create_directories(directory);
    const auto path = directory / "test-ca.pem";
    std::ofstream(path, std::ios::binary) << ca.certificatePem;
    return path;
}
