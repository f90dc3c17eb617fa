// The fake workstation as a process of its own: serves the scripted
// cyclic voltammetry of cv_demo_run on an ephemeral port of 127.0.0.1 until
// SIGINT or SIGTERM arrives or its lifetime is over, so that a forgotten
// server never lingers.
//
//   marlek_fake_workstation_server [--port-file PATH] [--lifetime SECONDS]
//                                  [--credentials USER:PASSWORD] [--upgrade-status CODE]
//                                  [--tls-dir DIR] [--udp-port-file PATH]
//                                  [--demo cv|eis]
//
// The port is printed on the standard output and, when asked, written to
// PATH (atomically: the file appears complete or not at all). With
// --credentials an upgrade without them is answered 401; --upgrade-status
// answers every upgrade with CODE. --tls-dir serves TLS with a "localhost"
// certificate made at start, signed by a test CA: DIR receives the CA as
// test-ca.pem and the certificate's fingerprint text as fingerprint, before
// the port file appears. --udp-port-file also starts a discovery responder
// on 127.0.0.1 that answers every probe with the link port 1954, and writes
// its UDP port to PATH.
// --demo eis plays the impedance measurement of eis_demo_run instead of the
// cyclic voltammetry.
//
// Tests script it through the standard input, one JSON command per line,
// each acknowledged with the line {"ack": N} (N counting from 1) once done:
//   {"do": "close", "code": 1000}  close frame to the latest connection
//   {"do": "drop"}                 TCP close without a close frame
//   {"do": "connections"}          also answers "connections": how many upgraded
//   {"do": "messages"}             also answers "messages": the text frames the
//                                  latest connection received, in order
//   {"do": "setting_outcome", "name": N, "outcome": O, "error": E}
//                                  how "/settings/set" answers for N: O is
//                                  "success", "failed" (with the error object
//                                  E), "failed_without_error" or "omitted"
//   {"do": "fail", "command": C}   answers every later request C (a "do"
//                                  text such as "/WAVE/get") "FAILED"
//   {"do": "silent", "command": C} never answers later requests C
//   {"do": "extra", "command": C, "keys": {...}}
//                                  the normal reply to C with these keys set
//   {"do": "normal"}               drops every answer of fail and extra
//   {"do": "script_jobs"}          answers every control, hardware,
//                                  calibration and service job with its
//                                  sample result
//   {"do": "no_pauses"}            later jobs send their events and JOB_DONE
//                                  back to back, without the script's pauses
//   {"do": "mesh_content", "content": C}
//                                  "get_mesh_json_file" answers with the file
//                                  content C (base64 text, not checked)
//   {"do": "endless_jobs"}         later jobs start and never end
//   {"do": "no_download_data"}     later downloads are answered without
//                                  their binary frame
//   {"do": "requests", "command": C}
//                                  also answers "requests": how many requests
//                                  C arrived so far, on every connection
// An unreadable line is acknowledged with "error" and changes nothing.

#include "control_commands.hpp"
#include "cv_demo_run.hpp"
#include "eis_demo_run.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "fake_workstation/udp_responder.hpp"
#include "marlek_link_json/atomic_file_writer.hpp"

#include <boost/json.hpp>

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace {

struct Options {
    std::string portFile;
    std::string tlsDirectory;
    std::string udpPortFile;
    long lifetimeSeconds = 120;
    bool eisDemo = false;
    FakeWorkstationOptions server;
};

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        if (argument == "--port-file") {
            options.portFile = argv[++i];
        } else if (argument == "--credentials") {
            const std::string_view credentials = argv[++i];
            const auto colon = credentials.find(':');
            if (colon == std::string_view::npos) {
                return false;
            }
            options.server.requiredCredentials = FakeWorkstationOptions::Credentials{
                std::string(credentials.substr(0, colon)), std::string(credentials.substr(colon + 1))};
        } else if (argument == "--upgrade-status") {
            char* end = nullptr;
            const long status = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || status < 100 || status > 599) {
                return false;
            }
            options.server.forcedUpgradeStatus = static_cast<unsigned>(status);
        } else if (argument == "--tls-dir") {
            options.tlsDirectory = argv[++i];
            options.server.tls = TlsTestMaterial::shared().localhost;
        } else if (argument == "--udp-port-file") {
            options.udpPortFile = argv[++i];
        } else if (argument == "--demo") {
            const std::string_view demo = argv[++i];
            if (demo != "cv" && demo != "eis") {
                return false;
            }
            options.eisDemo = demo == "eis";
        } else if (argument == "--lifetime") {
            char* end = nullptr;
            options.lifetimeSeconds = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || options.lifetimeSeconds <= 0) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

bool writeAtomically(const std::filesystem::path& path, const std::string& line)
{
    AtomicFileWriter writer(path);
    const std::string text = line + '\n';
    return writer.open().getErrorCodeEnum() == ErrorCodeEnum::NONE
           && writer.commit(text.data(), text.size()).getErrorCodeEnum() == ErrorCodeEnum::NONE;
}

void serveControlLines(FakeWorkstation& workstation)
{
    std::string line;
    for (std::uint64_t number = 1; std::getline(std::cin, line); ++number) {
        boost::json::object acknowledgement = control(workstation, line);
        acknowledgement["ack"] = number;
        std::cout << boost::json::serialize(acknowledgement) << std::endl;
    }
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << "usage: " << argv[0]
                  << " [--port-file PATH] [--lifetime SECONDS] [--credentials USER:PASSWORD] [--upgrade-status CODE]"
                     " [--tls-dir DIR] [--udp-port-file PATH]"
                     " [--demo cv|eis]"
                  << std::endl;
        return 2;
    }

    // Blocked before the server's threads exist, so that they inherit the
    // mask and the signals reach only the wait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    FakeWorkstation workstation(options.server);
    if (options.eisDemo) {
        eis_demo::install(workstation.router());
    } else {
        cv_demo::install(workstation.router());
    }

    std::cout << "fake workstation listening on 127.0.0.1:" << workstation.port() << std::endl;
    if (!options.tlsDirectory.empty()) {
        const TlsTestMaterial& material = TlsTestMaterial::shared();
        material.writeCaFile(options.tlsDirectory);
        const std::filesystem::path fingerprintFile = std::filesystem::path(options.tlsDirectory) / "fingerprint";
        if (!writeAtomically(fingerprintFile, material.localhost.fingerprint)) {
            std::cerr << "cannot write into " << options.tlsDirectory << std::endl;
            return 1;
        }
    }
    std::optional<fake_workstation::UdpResponder> responder;
    if (!options.udpPortFile.empty()) {
        responder.emplace();
        if (!writeAtomically(options.udpPortFile, std::to_string(responder->port()))) {
            std::cerr << "cannot write " << options.udpPortFile << std::endl;
            return 1;
        }
    }
    if (!options.portFile.empty() && !writeAtomically(options.portFile, workstation.port())) {
        std::cerr << "cannot write " << options.portFile << std::endl;
        return 1;
    }
    // Ends with the process; it only ever waits for the next line.
    std::thread(serveControlLines, std::ref(workstation)).detach();

    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::seconds(options.lifetimeSeconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(end - Clock::now());
        if (left.count() <= 0) {
            std::cerr << "fake workstation: lifetime of " << options.lifetimeSeconds << " s is over" << std::endl;
            return 0;
        }
        constexpr long kNanosecondsPerSecond = 1000000000;
        const timespec wait{static_cast<time_t>(left.count() / kNanosecondsPerSecond),
                            static_cast<long>(left.count() % kNanosecondsPerSecond)};
        if (sigtimedwait(&stopSignals, nullptr, &wait) >= 0) {
            return 0;
        }
        if (errno != EINTR && errno != EAGAIN) {
            return 1;
        }
    }
}
