//===- main.cpp - tovrane-server: a print server serving a description ----===//
//
// Loads the description, binds, prints "listening on ADDR:PORT" as the first line of
// standard output (tests read the port from it), and serves until SIGTERM or SIGINT.
//
//===----------------------------------------------------------------------===//
#include "Description.h"
#include "HttpFrontEnd.h"
#include "Protocol.h"
#include "ServerOptions.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

using namespace tovrane::server;

namespace {

/// The file's bytes; false when it cannot be read or is larger than a description may be.
bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    text.resize(tovrane::protocol::kMaxDescriptionBytes + 1);
    file.read(&text[0], static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    return !file.bad() && text.size() <= tovrane::protocol::kMaxDescriptionBytes;
}

struct SignalWatch {
    sigset_t signals;
    HttpFrontEnd* frontEnd;
    std::atomic<bool> served{false};
};

/// Waits for SIGTERM or SIGINT (blocked in every thread) and stops the server. A
/// SIGUSR1 from main only wakes it when the server ended on its own.
void* WatchSignals(void* argument) {
    auto* watch = static_cast<SignalWatch*>(argument);
    int received = 0;
    sigwait(&watch->signals, &received);
    // A stop that lands before the listener is running would be lost: repeat it until the
    // serving loop has returned.
    while (received != SIGUSR1 && !watch->served.load()) {
        watch->frontEnd->Stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    ServerOptions options;
    std::string error;
    if (!ParseServerOptions(argc, argv, std::getenv("TOVRANE_SERVER_PORT"), options, error)) {
        std::fprintf(stderr, "tovrane-server: %s\n%s", error.c_str(), ServerUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(ServerUsage(), stdout);
        return 0;
    }
    std::string text;
    Description description;
    if (!ReadFile(options.descriptionPath, text)) {
        std::fprintf(stderr, "tovrane-server: cannot read %s\n", options.descriptionPath.c_str());
        return 1;
    }
    if (!LoadDescription(text, description, error)) {
        std::fprintf(stderr, "tovrane-server: %s: %s\n", options.descriptionPath.c_str(),
                     error.c_str());
        return 1;
    }

    // Block the stop signals before any thread exists, so that only the watcher sees them.
    SignalWatch watch;
    sigemptyset(&watch.signals);
    sigaddset(&watch.signals, SIGTERM);
    sigaddset(&watch.signals, SIGINT);
    sigaddset(&watch.signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &watch.signals, nullptr);

    HttpFrontEnd frontEnd(description, options);
    int port = 0;
    if (!frontEnd.Bind(port)) {
        std::fprintf(stderr, "tovrane-server: cannot listen on %s:%d\n", options.host.c_str(),
                     options.port);
        return 1;
    }
    std::printf("listening on %s:%d\n", options.host.c_str(), port);
    std::fflush(stdout);

    watch.frontEnd = &frontEnd;
    pthread_t watcher;
    if (pthread_create(&watcher, nullptr, &WatchSignals, &watch) != 0) {
        std::fprintf(stderr, "tovrane-server: cannot start the signal watcher\n");
        return 1;
    }
    bool served = frontEnd.Run();
    watch.served.store(true);
    pthread_kill(watcher, SIGUSR1); // harmless when the watcher has already returned
    pthread_join(watcher, nullptr);
    return served ? 0 : 1;
}
