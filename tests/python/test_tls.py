"""TLS from Python against the fake workstation process serving a
certificate for "localhost" signed by a CA made at its start: the trust
settings, the failures of the check and the report of the last check."""

import datetime
import gc

import pytest

import marlek_link as ml

Flags = ml.MarlekLinkConnectionFlags
# Hermetic: the machine's own CAs never take part.
TLS = Flags.USE_SSL | Flags.SSL_DO_NOT_USE_SYSTEM_CAS
Codes = ml.ErrorCodeEnum


@pytest.fixture
def tls_server(fake_workstation_with, tmp_path):
    material = tmp_path / "tls"
    server = fake_workstation_with("--tls-dir", str(material))
    server.ca_file = material / "test-ca.pem"
    server.ca_pem = server.ca_file.read_text()
    server.fingerprint = (material / "fingerprint").read_text().strip()
    return server


def attempt(server, configuration, host="localhost", flags=TLS):
    link = ml.MarlekLink(host, server.port, flags)
    link.set_request_timeout(datetime.timedelta(seconds=10))
    link.ssl_set_tls_configuration(configuration)
    error = link.connect()
    result = link.ssl_get_last_verification_result()
    link.disconnect()
    return error, result


def test_configuration_values():
    empty = ml.TlsConfiguration()
    assert (empty.trusted_ca_files, empty.trusted_ca_certificates, empty.trusted_cert_fingerprints) == ([], [], [])
    assert empty.certificate_hostname == ""

    positional = ml.TlsConfiguration(["ca.pem"])
    assert positional.trusted_ca_files == ["ca.pem"] and positional.trusted_ca_certificates == []
    keywords = ml.TlsConfiguration(certificate_hostname="host", trusted_cert_fingerprints=("AB",))
    assert (keywords.trusted_cert_fingerprints, keywords.certificate_hostname) == (["AB"], "host")

    keywords.trusted_ca_files.append("ignored.pem")
    assert keywords.trusted_ca_files == []
    keywords.trusted_ca_files = ["a.pem", "b.pem"]
    assert keywords.trusted_ca_files == ["a.pem", "b.pem"]

    with pytest.raises(TypeError):
        ml.TlsConfiguration("ca.pem")
    with pytest.raises(TypeError):
        ml.MarlekLink("localhost").ssl_set_tls_configuration(None)


def test_report_before_any_check():
    link = ml.MarlekLink("localhost")
    first, second = link.ssl_get_last_verification_result(), link.ssl_get_last_verification_result()
    assert first is not second
    for result in (first, second):
        assert (result.trusted_by_system, result.error_depth, result.openssl_error_code) == (True, 0, 0)
        assert (result.error_message, result.chain) == ("", [])
    with pytest.raises(TypeError):
        ml.TlsVerificationResult()
    with pytest.raises(TypeError):
        ml.TlsCertificateInfo()


@pytest.mark.parametrize("trust", ["file", "memory"])
def test_trusted_ca_connects_and_reports_the_chain(tls_server, trust):
    configuration = (
        ml.TlsConfiguration(trusted_ca_files=[str(tls_server.ca_file)])
        if trust == "file"
        else ml.TlsConfiguration(trusted_ca_certificates=[tls_server.ca_pem])
    )
    error, result = attempt(tls_server, configuration)
    assert not error, str(error)
    assert result.trusted_by_system and result.error_message == ""

    leaf = result.chain[0]
    assert leaf.common_name == "localhost" and "localhost" in leaf.sans
    assert "CN=localhost" in leaf.subject_dn and leaf.issuer_dn != leaf.subject_dn
    assert leaf.sha256_fingerprint == tls_server.fingerprint
    assert leaf.valid_from < datetime.datetime.now() < leaf.valid_until and not leaf.is_expired
    assert leaf.serial_number and leaf.public_key_type and leaf.public_key_bits > 0
    assert leaf.pem_string.startswith("-----BEGIN CERTIFICATE-----")
    with pytest.raises(AttributeError):
        leaf.common_name = "x"
    with pytest.raises(AttributeError):
        result.trusted_by_system = False

    # A certificate taken from the chain keeps its report alive.
    del result
    gc.collect()
    assert leaf.sha256_fingerprint == tls_server.fingerprint


@pytest.mark.parametrize(
    "host, flags, hostname",
    [
        # The certificate names "localhost" only, no address.
        ("127.0.0.1", TLS, ""),
        ("localhost", TLS | Flags.SSL_VERIFY_CUSTOM_HOSTNAME, "other.test"),
    ],
    ids=["address", "custom-name"],
)
def test_wrong_host_is_refused(tls_server, host, flags, hostname):
    configuration = ml.TlsConfiguration([str(tls_server.ca_file)], certificate_hostname=hostname)
    error, result = attempt(tls_server, configuration, host=host, flags=flags)
    assert error
    assert not result.trusted_by_system and result.error_message
    assert result.chain[0].sha256_fingerprint == tls_server.fingerprint


def test_unknown_ca_is_refused(tls_server):
    error, result = attempt(tls_server, ml.TlsConfiguration())
    assert error
    assert not result.trusted_by_system
    assert result.openssl_error_code != 0 and result.error_message
    assert result.error_depth in (0, 1)
    assert result.chain and result.chain[0].common_name == "localhost"


def test_fingerprint_pinning(tls_server):
    error, _ = attempt(tls_server, ml.TlsConfiguration(trusted_cert_fingerprints=[tls_server.fingerprint]))
    assert not error, str(error)

    # Compared character for character with the upper-case form.
    error, _ = attempt(tls_server, ml.TlsConfiguration(trusted_cert_fingerprints=[tls_server.fingerprint.lower()]))
    assert error


def test_configuration_is_taken_when_set(tls_server):
    configuration = ml.TlsConfiguration(trusted_ca_files=[str(tls_server.ca_file)])
    link = ml.MarlekLink("localhost", tls_server.port, TLS)
    link.set_request_timeout(datetime.timedelta(seconds=10))
    link.ssl_set_tls_configuration(configuration)
    configuration.trusted_ca_files = []
    try:
        assert not link.connect()
    finally:
        link.disconnect()


def test_plain_connection_keeps_the_initial_report(fake_workstation):
    link = ml.MarlekLink(fake_workstation.host, fake_workstation.port)
    assert not link.connect()
    result = link.ssl_get_last_verification_result()
    link.disconnect()
    assert result.trusted_by_system and result.chain == []
