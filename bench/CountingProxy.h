//===- CountingProxy.h - A loopback relay that counts requests --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BENCH_COUNTINGPROXY_H
#define PIGMENTOR_BENCH_COUNTINGPROXY_H

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>

namespace httplib {
class Server;
}

/// An HTTP relay on a free loopback port that passes every `POST /v1/<endpoint>` on to the
/// server at 127.0.0.1:`targetPort` (status, body and content type unchanged) and counts the
/// requests. It serves on a thread of its own from construction until destruction. Used only
/// to learn how many round trips a piece of work makes; timings are taken without it.
class CountingProxy {
public:
    explicit CountingProxy(int targetPort);
    ~CountingProxy();
    CountingProxy(const CountingProxy&) = delete;
    CountingProxy& operator=(const CountingProxy&) = delete;

    /// The port it listens on, 0 when it could not bind.
    int Port() const { return mPort; }
    /// Requests relayed so far.
    size_t Count() const { return mCount.load(); }

private:
    std::unique_ptr<httplib::Server> mServer;
    std::thread mThread;
    std::atomic<size_t> mCount{0};
    int mPort = 0;
};

#endif // PIGMENTOR_BENCH_COUNTINGPROXY_H
