//===- HostileServer.h - A loopback peer that answers as a test scripts it --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TESTS_SDK_HOSTILESERVER_H
#define PIGMENTOR_TESTS_SDK_HOSTILESERVER_H

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

/// Listens on a free loopback port and runs `script(fd, stop)` for each accepted connection,
/// one at a time on its own thread; the script reads and writes the socket as it likes and
/// should return once `stop` is set or the peer is gone. Stopped and joined with the object.
class HostileServer {
public:
    using Script = std::function<void(int fd, const std::atomic<bool>& stop)>;
    explicit HostileServer(Script script);
    ~HostileServer();
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    int Port() const { return mPort; }

    /// Reads one request head (up to the blank line) from `fd`; false on the peer's end.
    static bool ReadRequestHead(int fd);
    /// Writes all of `data`; false once the peer is gone.
    static bool WriteAll(int fd, const char* data, size_t size);

private:
    Script mScript;
    int mListen = -1;
    int mPort = 0;
    std::atomic<bool> mStop{false};
    std::thread mThread;
};

/// The `field` ("VmRSS:", "VmHWM:") of /proc/PID/status in KiB, of this process when `pid` is
/// 0; -1 when it cannot be read.
long StatusKiB(const char* field, pid_t pid = 0);

/// A raw client of the loopback `port`: sends `head`, then `repeat` over and over while the
/// server takes it, for at most `limitBytes`; returns what the server answered (its first
/// 4 KiB, or what came before it closed or fell silent for a second, within ten seconds) and
/// sets `*closed` when it closed the connection.
std::string ExchangeRaw(int port, const std::string& head, const std::string& repeat = "",
                        size_t limitBytes = 0, bool* closed = nullptr);

#endif // PIGMENTOR_TESTS_SDK_HOSTILESERVER_H
