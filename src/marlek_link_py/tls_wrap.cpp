// TlsCertificateInfo, TlsVerificationResult and TlsConfiguration, and the
// two TLS methods of MarlekLink: the trust settings a script gives the link
// and the report of the last certificate check.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/tls_configuration.hpp"
#include "marlek_link_json/tls_verification_result.hpp"

#include <pybind11/chrono.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <mutex>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

// connect runs without the interpreter lock: it reads the stored
// configuration and replaces the verification record under the link's
// mutex, which keeps another Python thread from meeting either half written.
// Waiting for that mutex may take as long as a connect: Ctrl-C ends the
// connect as cancel_pending_operations would.
void setConfiguration(MarlekLink& link, const TlsConfiguration& configuration)
{
    const auto side = LinkPythonSide::of(link);
    callLinkInterruptibly(link, [&] {
        std::lock_guard lock(side->coreMutex);
        link.sslSetTlsConfiguration(configuration);
    });
}

TlsVerificationResult lastVerificationResult(MarlekLink& link)
{
    const auto side = LinkPythonSide::of(link);
    return callLinkInterruptibly(link, [&] {
        std::lock_guard lock(side->coreMutex);
        return link.sslGetlastVerificationResult();
    });
}

} // namespace

void register_tls_classes(py::module_& m)
{
    py::class_<TlsCertificateInfo>(m, "TlsCertificateInfo")
        .def_property_readonly("subject_dn", dataTextField(&TlsCertificateInfo::subject_dn))
        .def_property_readonly("issuer_dn", dataTextField(&TlsCertificateInfo::issuer_dn))
        .def_property_readonly("common_name", dataTextField(&TlsCertificateInfo::common_name))
        .def_readonly("valid_from", &TlsCertificateInfo::valid_from)
        .def_readonly("valid_until", &TlsCertificateInfo::valid_until)
        .def_readonly("is_expired", &TlsCertificateInfo::is_expired)
        .def_property_readonly("serial_number", dataTextField(&TlsCertificateInfo::serial_number))
        .def_property_readonly("sha256_fingerprint", dataTextField(&TlsCertificateInfo::sha256_fingerprint))
        .def_property_readonly("public_key_type", dataTextField(&TlsCertificateInfo::public_key_type))
        .def_readonly("public_key_bits", &TlsCertificateInfo::public_key_bits)
        .def_property_readonly("sans", dataTextField(&TlsCertificateInfo::sans))
        .def_property_readonly("pem_string", dataTextField(&TlsCertificateInfo::pem_string));

    // chain gives views of the records inside the result, each keeping the
    // result alive.
    py::class_<TlsVerificationResult>(m, "TlsVerificationResult")
        .def_readonly("trusted_by_system", &TlsVerificationResult::trusted_by_system)
        .def_readonly("error_depth", &TlsVerificationResult::error_depth)
        .def_readonly("openssl_error_code", &TlsVerificationResult::openssl_error_code)
        .def_property_readonly("error_message", dataTextField(&TlsVerificationResult::error_message))
        .def_readonly("chain", &TlsVerificationResult::chain);

    py::class_<TlsConfiguration>(m, "TlsConfiguration")
        .def(py::init([](std::vector<std::string> caFiles, std::vector<std::string> caCertificates,
                         std::vector<std::string> fingerprints, std::string hostname) {
                 return TlsConfiguration{std::move(caFiles), std::move(caCertificates), std::move(fingerprints),
                                         std::move(hostname)};
             }),
             py::arg("trusted_ca_files") = std::vector<std::string>{},
             py::arg("trusted_ca_certificates") = std::vector<std::string>{},
             py::arg("trusted_cert_fingerprints") = std::vector<std::string>{},
             py::arg("certificate_hostname") = std::string{},
             "\n    Bundles all TLS trust and validation parameters for a connection.\n\n"
             "    Pass an instance to :meth:`marlek_link.MarlekLink.ssl_set_tls_configuration` before connecting\n"
             "    with the :attr:`marlek_link.MarlekLinkConnectionFlags.USE_SSL` flag.\n\n"
             "    :param trusted_ca_files: Paths to trusted CA certificates in PEM format, loaded from disk.\n"
             "    :param trusted_ca_certificates: CA certificates given directly as PEM text; one entry may hold\n"
             "        several concatenated certificates.\n"
             "    :param trusted_cert_fingerprints: SHA-256 fingerprints of server certificates that are trusted\n"
             "        whatever the chain and host name checks find, upper-case hexadecimal pairs separated by\n"
             "        colons, e.g. ``\"AB:CD:...:EF\"``.\n"
             "    :param certificate_hostname: host name the server certificate is checked against instead of\n"
             "        the host used to connect; only takes effect when the\n"
             "        :attr:`marlek_link.MarlekLinkConnectionFlags.SSL_VERIFY_CUSTOM_HOSTNAME` flag is set.\n")
        .def_property("trusted_ca_files", dataTextField(&TlsConfiguration::trusted_ca_files),
                      textFieldSetter(&TlsConfiguration::trusted_ca_files))
        .def_property("trusted_ca_certificates", dataTextField(&TlsConfiguration::trusted_ca_certificates),
                      textFieldSetter(&TlsConfiguration::trusted_ca_certificates))
        .def_property("trusted_cert_fingerprints", dataTextField(&TlsConfiguration::trusted_cert_fingerprints),
                      textFieldSetter(&TlsConfiguration::trusted_cert_fingerprints))
        .def_property("certificate_hostname", dataTextField(&TlsConfiguration::certificate_hostname),
                      textFieldSetter(&TlsConfiguration::certificate_hostname));
}

void add_link_tls_methods(LinkClass& cls)
{
    cls.def("ssl_set_tls_configuration", &setConfiguration, py::arg("tls_configuration").none(false),
            "\n    Set the TLS configuration used when connecting with the USE_SSL flag.\n\n"
            "    Configures trusted CA files, in-memory CA certificates, pinned certificate fingerprints and an\n"
            "    optional custom validation host name. Call it before :meth:`connect`.\n\n"
            "    :param tls_configuration: a :class:`marlek_link.TlsConfiguration` object\n");
    cls.def("ssl_get_last_verification_result", &lastVerificationResult,
            "\n    Get the result of the last TLS verification.\n\n"
            "    :returns: a :class:`marlek_link.TlsVerificationResult` object\n");
}
