//===- ServerOptions.h - tovrane-server's command line ----------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_SERVER_SERVEROPTIONS_H
#define TOVRANE_SERVER_SERVEROPTIONS_H

#include "Faults.h"

#include <string>

namespace tovrane::server {

/// tovrane-server [--host ADDR] [--port N] [--latency-ms N] [--fail WHAT]... DESCRIPTION
struct ServerOptions {
    std::string descriptionPath;
    /// Dotted IPv4 address to listen on.
    std::string host = "127.0.0.1";
    /// 0 picks a free port.
    int port = 0;
    /// Added to every request before it is answered, 0-60000.
    int latencyMs = 0;
    FaultPlan faults;
    bool help = false;
};

/// Reads the command line (argv[0] is skipped). The port is `--port`, else `envPort`
/// (TOVRANE_SERVER_PORT, may be null), else the SDK's default port. False with `error` set
/// for an unknown option, a missing or bad value, or not exactly one description path
/// (unless --help).
bool ParseServerOptions(int argc, const char* const* argv, const char* envPort, ServerOptions& out,
                        std::string& error);
/// The usage text.
const char* ServerUsage();

} // namespace tovrane::server

#endif // TOVRANE_SERVER_SERVEROPTIONS_H
