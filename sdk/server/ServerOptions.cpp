//===- ServerOptions.cpp - tovrane-server's command line ------------------===//
#include "ServerOptions.h"

#include <t10.h>

#include <arpa/inet.h>

#include <cstdlib>
#include <string_view>

namespace tovrane::server {

namespace {

/// The decimal number `text` when it is one within [min, max].
bool Number(const char* text, long min, long max, int& out) {
    if (!text || !*text)
        return false;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < min || value > max)
        return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

const char* ServerUsage() {
    return "usage: tovrane-server [--host ADDR] [--port N] [--latency-ms N] [--fail WHAT]... "
           "DESCRIPTION.json\n"
           "  --host ADDR      IPv4 address to listen on (default 127.0.0.1)\n"
           "  --port N         port, 0 = any free one (default TOVRANE_SERVER_PORT or 9631)\n"
           "  --latency-ms N   wait N ms (0-60000) before answering each request\n"
           "  --fail WHAT      all | garbage | close | ENDPOINT | error:ENDPOINT |\n"
           "                   garbage:ENDPOINT | close:ENDPOINT (catch-alls spare hello)\n"
           "The first line on standard output is \"listening on ADDR:PORT\".\n";
}

bool ParseServerOptions(int argc, const char* const* argv, const char* envPort, ServerOptions& out,
                        std::string& error) {
    out = ServerOptions();
    error.clear();
    bool portGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
            return true;
        }
        if (arg == "--port" || arg == "--latency-ms" || arg == "--host" || arg == "--fail") {
            if (!value) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            ++i;
        }
        if (arg == "--port") {
            if (!Number(value, 0, 65535, out.port)) {
                error = "--port needs a number from 0 to 65535";
                return false;
            }
            portGiven = true;
        } else if (arg == "--latency-ms") {
            if (!Number(value, 0, 60000, out.latencyMs)) {
                error = "--latency-ms needs a number from 0 to 60000";
                return false;
            }
        } else if (arg == "--host") {
            in_addr address;
            if (inet_pton(AF_INET, value, &address) != 1) {
                error = "--host needs a dotted IPv4 address";
                return false;
            }
            out.host = value;
        } else if (arg == "--fail") {
            if (!out.faults.Add(value)) {
                error = std::string("--fail: unknown fault or endpoint ") + value;
                return false;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + std::string(arg);
            return false;
        } else if (out.descriptionPath.empty()) {
            out.descriptionPath = std::string(arg);
        } else {
            error = "only one description file may be given";
            return false;
        }
    }
    if (out.descriptionPath.empty()) {
        error = "no description file given";
        return false;
    }
    if (!portGiven) {
        out.port = T10_DEFAULT_PORT;
        if (envPort && *envPort && !Number(envPort, 0, 65535, out.port)) {
            error = "TOVRANE_SERVER_PORT needs a number from 0 to 65535";
            return false;
        }
    }
    return true;
}

} // namespace tovrane::server
