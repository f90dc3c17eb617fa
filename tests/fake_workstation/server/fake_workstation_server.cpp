// The fake workstation as a process of its own: serves the scripted
// cyclic voltammetry of cv_demo_run on an ephemeral port of 127.0.0.1 until
// SIGINT or SIGTERM arrives or its lifetime is over, so that a forgotten
// server never lingers.
//
//   marlek_fake_workstation_server [--port-file PATH] [--lifetime SECONDS]
//
// The port is printed on the standard output and, when asked, written to
// PATH (atomically: the file appears complete or not at all).

#include "cv_demo_run.hpp"
#include "fake_workstation/fake_workstation.hpp"

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace {

struct Options {
    std::string portFile;
    long lifetimeSeconds = 120;
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

bool writePortFile(const std::filesystem::path& path, const std::string& port)
{
    const std::filesystem::path partial = path.string() + ".partial";
    {
        std::ofstream file(partial);
        file << port << '\n';
        if (!file) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    return !error;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << "usage: " << argv[0] << " [--port-file PATH] [--lifetime SECONDS]" << std::endl;
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

    FakeWorkstation workstation;
    cv_demo::install(workstation.router());

    std::cout << "fake workstation listening on 127.0.0.1:" << workstation.port() << std::endl;
    if (!options.portFile.empty() && !writePortFile(options.portFile, workstation.port())) {
        std::cerr << "cannot write " << options.portFile << std::endl;
        return 1;
    }

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
