#include "session_probe.hpp"

#include "fake_workstation/fake_workstation.hpp"
#include "marlek_link_json/abstract_link_ll_ssl_impl.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <cctype>
#include <filesystem>
#include <functional>
#include <unistd.h>

using Status = MarlekLinkServiceStatusEnum;
using Connection = MarlekLinkConnectionStatusEnum;
using Flags = MarlekLinkConnectionFlags;

namespace {

constexpr unsigned kHermetic = Flags::USE_SSL | Flags::SSL_DO_NOT_USE_SYSTEM_CAS;
constexpr int kSelfSignedLeaf = 18;   // X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT
constexpr int kUnknownIssuer = 20;    // X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY
constexpr int kHostnameMismatch = 50; // X509_V_ERR_APPLICATION_VERIFICATION

const TlsTestMaterial& material()
{
    return TlsTestMaterial::shared();
}

FakeWorkstationOptions serving(const TlsTestIdentity& identity)
{
    FakeWorkstationOptions options;
    options.tls = identity;
    return options;
}

TlsConfiguration trustingTestCa()
{
    TlsConfiguration configuration;
    configuration.trusted_ca_certificates = {material().ca.certificatePem};
    return configuration;
}

std::string lowerCase(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

class TlsSession : public ShortTimers {};

TEST_F(TlsSession, ConnectsWithTheTestCaAndReportsTheChain)
{
    FakeWorkstation workstation(serving(material().localhost));
    SessionProbe session("localhost", workstation.port(), kHermetic, "user", "pass");
    session->getSsl()->setTlsConfiguration(trustingTestCa());
    ASSERT_EQ(session->connect(), Status::OK);
    EXPECT_EQ(session->getConnectionStatus(), Connection::CONNECTED);

    const auto request = workstation.connections().at(0).request;
    EXPECT_EQ(request.serverName, "localhost");
    EXPECT_EQ(request.header("Host"), "localhost:" + workstation.port());
    EXPECT_EQ(request.header("User-Agent"), "marlek_link_lib");
    EXPECT_EQ(request.header("M-Supported-Protocol-Version"), "12");
    EXPECT_EQ(request.header("Authorization"), "Basic dXNlcjpwYXNz");

    const TlsVerificationResult& result = session->getSsl()->getLastVerificationResult();
    EXPECT_TRUE(result.trusted_by_system);
    EXPECT_EQ(result.error_depth, 0);
    EXPECT_EQ(result.openssl_error_code, 0);
    EXPECT_EQ(result.error_message, "");
    ASSERT_EQ(result.chain.size(), 2u);
    const TlsCertificateInfo& leaf = result.chain[0];
    EXPECT_EQ(leaf.subject_dn, "CN=localhost,O=Marlek Test");
    EXPECT_EQ(leaf.issuer_dn, "CN=Marlek Test CA,O=Marlek Test");
    EXPECT_EQ(leaf.common_name, "localhost");
    EXPECT_EQ(leaf.sha256_fingerprint, material().localhost.fingerprint);
    EXPECT_EQ(leaf.sha256_fingerprint.size(), 95u);
    EXPECT_EQ(leaf.serial_number, "2");
    EXPECT_EQ(leaf.public_key_type, "EC");
    EXPECT_EQ(leaf.public_key_bits, 256);
    EXPECT_EQ(leaf.sans, std::vector<std::string>{"localhost"});
    EXPECT_EQ(leaf.pem_string, material().localhost.certificatePem);
    EXPECT_FALSE(leaf.is_expired);
    EXPECT_LT(leaf.valid_from, std::chrono::system_clock::now());
    EXPECT_GT(leaf.valid_until, std::chrono::system_clock::now() + std::chrono::hours(24));
    EXPECT_EQ(result.chain[1].subject_dn, "CN=Marlek Test CA,O=Marlek Test");
    EXPECT_TRUE(result.chain[1].sans.empty());

    // Both directions over TLS.
    workstation.sendText("text");
    workstation.sendBinary(std::string("\0\1", 2));
    ASSERT_TRUE(session.waitFor([&] { return session.texts.size() == 1 && session.binaries.size() == 1; }));
    EXPECT_EQ(session.receivedBinaries()[0], std::string("\0\1", 2));
    EXPECT_TRUE(session->send("hello"));
    ASSERT_TRUE(workstation.waitForMessages(1, 5s));
    EXPECT_EQ(workstation.connections()[0].messages[0].bytes, "hello");

    session->disconnect();
    ASSERT_TRUE(workstation.waitForConnectionEnd(5s));
    EXPECT_EQ(workstation.connections()[0].closeCode, 1000);
    EXPECT_EQ(session.statusHistory(), (std::vector{Connection::CONNECTED, Connection::DISCONNECTED}));
}

TEST_F(TlsSession, TrustsACaFile)
{
    const auto directory = std::filesystem::temp_directory_path() / ("marlek-tls-" + std::to_string(getpid()));
    TlsConfiguration configuration;
    configuration.trusted_ca_files = {material().writeCaFile(directory).string()};
    FakeWorkstation workstation(serving(material().localhost));
    SessionProbe session("localhost", workstation.port(), kHermetic);
    session->getSsl()->setTlsConfiguration(configuration);
    EXPECT_EQ(session->connect(), Status::OK);
    std::filesystem::remove_all(directory);
}

struct VerificationCase {
    const char* name;
    std::function<const TlsTestIdentity&()> serverIdentity;
    std::string host;
    unsigned flags;
    std::function<TlsConfiguration()> configuration;
    Status outcome;
    std::string serverName; // SNI the workstation saw (successful cases)
    int errorCode;
    int errorDepth;
    std::string errorMessage; // checked when not empty
};

class TlsVerification : public ShortTimers, public ::testing::WithParamInterface<VerificationCase> {};

TEST_P(TlsVerification, FollowsThePolicy)
{
    const auto& c = GetParam();
    FakeWorkstation workstation(serving(c.serverIdentity()));
    SessionProbe session(c.host, workstation.port(), c.flags);
    session->getSsl()->setTlsConfiguration(c.configuration());
    ASSERT_EQ(session->connect(), c.outcome);

    const TlsVerificationResult& result = session->getSsl()->getLastVerificationResult();
    EXPECT_EQ(result.openssl_error_code, c.errorCode);
    EXPECT_EQ(result.error_depth, c.errorDepth);
    EXPECT_EQ(result.trusted_by_system, c.errorCode == 0);
    if (!c.errorMessage.empty()) {
        EXPECT_EQ(result.error_message, c.errorMessage);
    }
    if (c.errorCode == 0) {
        EXPECT_EQ(result.error_message, "");
    }
    if ((c.flags & Flags::SKIP_SSL_CERT_VALIDATION) == 0) {
        ASSERT_FALSE(result.chain.empty());
        EXPECT_EQ(result.chain[0].sha256_fingerprint, c.serverIdentity().fingerprint);
    } else {
        EXPECT_TRUE(result.chain.empty());
    }
    if (c.outcome == Status::OK) {
        EXPECT_EQ(workstation.connections().at(0).request.serverName, c.serverName);
    } else {
        EXPECT_EQ(session->getConnectionStatus(), Connection::DISCONNECTED);
        EXPECT_TRUE(workstation.connections().empty());
    }
}

namespace {

TlsConfiguration allowing(std::string fingerprint)
{
    TlsConfiguration configuration;
    configuration.trusted_cert_fingerprints = {"00:11", std::move(fingerprint)};
    return configuration;
}

TlsConfiguration customHostname(std::string name)
{
    TlsConfiguration configuration = trustingTestCa();
    configuration.certificate_hostname = std::move(name);
    return configuration;
}

const TlsTestIdentity& localLeaf() { return material().localhost; }
const TlsTestIdentity& otherLeaf() { return material().otherHost; }
const TlsTestIdentity& selfSignedLeaf() { return material().selfSigned; }

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Policy, TlsVerification,
    ::testing::Values(
        VerificationCase{"WrongHost", otherLeaf, "localhost", kHermetic, trustingTestCa, Status::TLS_HANDSHAKE_FAILED,
                         "", kHostnameMismatch, 0, "Hostname mismatch (Certificate does not match 'localhost')"},
        VerificationCase{"WrongHostWithoutNameCheck", otherLeaf, "localhost", kHermetic | Flags::SKIP_SSL_HOSTNAME_MATCHING,
                         trustingTestCa, Status::OK, "localhost", 0, 0, ""},
        VerificationCase{"SelfSigned", selfSignedLeaf, "localhost", kHermetic, trustingTestCa,
                         Status::TLS_HANDSHAKE_FAILED, "", kSelfSignedLeaf, 0, ""},
        VerificationCase{"SelfSignedOnAllowList", selfSignedLeaf, "localhost", kHermetic,
                         [] { return allowing(material().selfSigned.fingerprint); }, Status::OK, "localhost", 0, 0, ""},
        VerificationCase{"AllowListIsCaseSensitive", selfSignedLeaf, "localhost", kHermetic,
                         [] { return allowing(lowerCase(material().selfSigned.fingerprint)); },
                         Status::TLS_HANDSHAKE_FAILED, "", kSelfSignedLeaf, 0, ""},
        VerificationCase{"AllowListOverridesHostname", otherLeaf, "localhost", kHermetic,
                         [] { return allowing(material().otherHost.fingerprint); }, Status::OK, "localhost", 0, 0, ""},
        VerificationCase{"NoTrustedCa", localLeaf, "localhost", kHermetic, [] { return TlsConfiguration{}; },
                         Status::TLS_HANDSHAKE_FAILED, "", kUnknownIssuer, 0, ""},
        VerificationCase{"SkipValidation", selfSignedLeaf, "localhost", kHermetic | Flags::SKIP_SSL_CERT_VALIDATION,
                         [] { return TlsConfiguration{}; }, Status::OK, "localhost", 0, 0, ""},
        // An address literal is never sent as server name...
        VerificationCase{"AddressLiteralWithoutNameCheck", localLeaf, "127.0.0.1",
                         kHermetic | Flags::SKIP_SSL_HOSTNAME_MATCHING, trustingTestCa, Status::OK, "", 0, 0, ""},
        VerificationCase{"AddressLiteralFailsNameCheck", localLeaf, "127.0.0.1", kHermetic, trustingTestCa,
                         Status::TLS_HANDSHAKE_FAILED, "", kHostnameMismatch, 0,
                         "Hostname mismatch (Certificate does not match '127.0.0.1')"},
        // ...but the custom verification name is, also when connecting to one.
        VerificationCase{"CustomHostnameOnAddressLiteral", localLeaf, "127.0.0.1",
                         kHermetic | Flags::SSL_VERIFY_CUSTOM_HOSTNAME, [] { return customHostname("localhost"); },
                         Status::OK, "localhost", 0, 0, ""},
        VerificationCase{"CustomHostnameMismatch", localLeaf, "localhost", kHermetic | Flags::SSL_VERIFY_CUSTOM_HOSTNAME,
                         [] { return customHostname("other.test"); }, Status::TLS_HANDSHAKE_FAILED, "",
                         kHostnameMismatch, 0, "Hostname mismatch (Certificate does not match 'other.test')"},
        VerificationCase{"EmptyCustomHostnameFallsBackToHost", localLeaf, "localhost",
                         kHermetic | Flags::SSL_VERIFY_CUSTOM_HOSTNAME, [] { return customHostname(""); }, Status::OK,
                         "localhost", 0, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TlsSession, HandshakeWithASilentServerIsBoundedByTheConnectionTimeout)
{
    FakeWorkstationOptions options = serving(material().localhost);
    options.acceptWithoutAnswer = true;
    FakeWorkstation workstation(options);
    SessionProbe session("localhost", workstation.port(), kHermetic);
    session->getSsl()->setTlsConfiguration(trustingTestCa());
    session->connectionTimeout = 300ms;

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(session->connect(), Status::TLS_HANDSHAKE_FAILED);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 900ms);
    EXPECT_EQ(workstation.acceptedConnectionCount(), 1u);
}

TEST_F(TlsSession, DroppedConnectionIsReported)
{
    FakeWorkstation workstation(serving(material().localhost));
    SessionProbe session("localhost", workstation.port(), kHermetic);
    session->getSsl()->setTlsConfiguration(trustingTestCa());
    ASSERT_EQ(session->connect(), Status::OK);
    workstation.dropConnection();
    EXPECT_TRUE(session.waitForStatus(Connection::DISCONNECTED, 5s));
    EXPECT_FALSE(session->send("{}"));
}

TEST_F(TlsSession, UpgradeOutcomesAreTheSameOverTls)
{
    FakeWorkstationOptions options = serving(material().localhost);
    options.forcedUpgradeStatus = 409;
    FakeWorkstation workstation(options);
    SessionProbe session("localhost", workstation.port(), kHermetic);
    session->getSsl()->setTlsConfiguration(trustingTestCa());
    EXPECT_EQ(session->connect(), Status::HTTP_CONFLICT);
    EXPECT_EQ(workstation.connections().at(0).request.serverName, "localhost");
}
