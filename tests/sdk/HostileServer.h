//===- HostileServer.h - A loopback peer that answers as a test scripts it --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TESTS_SDK_HOSTILESERVER_H
#define PIGMENTOR_TESTS_SDK_HOSTILESERVER_H

#include <atomic>
#include <functional>
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

/// The resident memory of this process in KiB.
long ResidentKiB();

#endif // PIGMENTOR_TESTS_SDK_HOSTILESERVER_H
