//===- Connection.h - One server connection's address and settings ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_CONNECTION_H
#define TOVRANE_CLIENT_CONNECTION_H

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace tovrane::client {

/// Where a connected handle sends its requests and for how long each may take. Shared (by
/// shared_ptr) between the handle, its sessions and the operations under way on it, so an
/// operation can finish after a disconnect. The address and port never change; the timeout
/// and the retired flag are atomics read by any thread. It also keeps the sockets of
/// finished exchanges open for the next request (at most kMaxIdleSockets, guarded by their
/// own lock); they are closed when the handle is disconnected or the connection goes.
struct Connection {
    Connection(std::string address, int port, int timeoutSeconds)
        : address(std::move(address)), port(port), timeoutSeconds(timeoutSeconds) {}
    /// Closes the kept sockets.
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// A kept socket to reuse, or -1 when none is kept; `armedMs` is the receive timeout
    /// its last exchange left set on it (what KeepIdleSocket was given).
    int TakeIdleSocket(int& armedMs);
    /// Keeps `fd`, whose receive timeout is `armedMs` milliseconds (0: none), for a later
    /// request (closes it when the pool is full or the connection is retired).
    void KeepIdleSocket(int fd, int armedMs);
    /// Closes every kept socket (on disconnect).
    void CloseIdleSockets();
    /// Sockets kept now.
    size_t IdleSocketCount();

    static constexpr size_t kMaxIdleSockets = 4;

    /// Dotted IPv4 address of the server.
    const std::string address;
    /// TCP port, 1-65535.
    const int port;
    /// Bound of each request, 1-3600 seconds.
    std::atomic<int> timeoutSeconds;
    /// Set once the handle is disconnected (or the connect failed); never cleared.
    std::atomic<bool> retired{false};

private:
    struct IdleSocket {
        int fd;
        int armedMs;
    };
    std::mutex mIdleMutex;
    std::vector<IdleSocket> mIdle;
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_CONNECTION_H
