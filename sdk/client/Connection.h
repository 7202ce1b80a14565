//===- Connection.h - One server connection's address and settings ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_CONNECTION_H
#define TOVRANE_CLIENT_CONNECTION_H

#include <atomic>
#include <string>

namespace tovrane::client {

/// Where a connected handle sends its requests and for how long each may take. Shared (by
/// shared_ptr) between the handle, its sessions and the operations under way on it, so an
/// operation can finish after a disconnect. The address and port never change; the timeout
/// and the retired flag are atomics read by any thread.
struct Connection {
    Connection(std::string address, int port, int timeoutSeconds)
        : address(std::move(address)), port(port), timeoutSeconds(timeoutSeconds) {}

    /// Dotted IPv4 address of the server.
    const std::string address;
    /// TCP port, 1-65535.
    const int port;
    /// Bound of each request, 1-3600 seconds.
    std::atomic<int> timeoutSeconds;
    /// Set once the handle is disconnected (or the connect failed); never cleared.
    std::atomic<bool> retired{false};
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_CONNECTION_H
