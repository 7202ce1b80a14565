//===- HostileServer.cpp - A loopback peer that answers as a test scripts it -===//
#include "HostileServer.h"

#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

HostileServer::HostileServer(Script script) : mScript(std::move(script)) {
    mListen = BindLoopback(mPort, 16);
    if (mListen < 0)
        return;
    mThread = std::thread([this] {
        while (!mStop.load()) {
            pollfd poller{mListen, POLLIN, 0};
            if (poll(&poller, 1, 50) <= 0)
                continue;
            int fd = accept4(mListen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            mScript(fd, mStop);
            close(fd);
        }
    });
}

HostileServer::~HostileServer() {
    mStop.store(true);
    if (mThread.joinable())
        mThread.join();
    if (mListen >= 0)
        close(mListen);
}

bool HostileServer::ReadRequestHead(int fd) {
    std::string head;
    char c;
    while (head.size() < 65536) {
        pollfd poller{fd, POLLIN, 0};
        if (poll(&poller, 1, 5000) <= 0 || recv(fd, &c, 1, 0) != 1)
            return false;
        head.push_back(c);
        if (head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0)
            return true;
    }
    return false;
}

bool HostileServer::WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

long StatusKiB(const char* field, pid_t pid) {
    const std::string path = pid ? "/proc/" + std::to_string(pid) + "/status" : "/proc/self/status";
    FILE* status = std::fopen(path.c_str(), "r");
    if (!status)
        return -1;
    char line[256];
    long kib = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0)
            kib = std::atol(line + length);
    std::fclose(status);
    return kib;
}

std::string ExchangeRaw(int port, const std::string& head, const std::string& repeat,
                        size_t limitBytes, bool* closed) {
    bool ended = false;
    std::string answer;
    int fd = DialLoopback(port);
    if (fd >= 0) {
        send(fd, head.data(), head.size(), MSG_NOSIGNAL);
        char buffer[4096];
        size_t sent = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd poller{fd, static_cast<short>(POLLIN | (sent < limitBytes ? POLLOUT : 0)), 0};
            if (poll(&poller, 1, 1000) <= 0)
                break;
            if (poller.revents & (POLLIN | POLLHUP | POLLERR)) {
                ssize_t got = recv(fd, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    ended = true;
                    break;
                }
                if (answer.size() < 4096)
                    answer.append(buffer, static_cast<size_t>(got));
                continue;
            }
            ssize_t n = send(fd, repeat.data(), repeat.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno != EAGAIN) {
                // Refused and reset before we read the answer: read what is left.
                ended = true;
                while ((n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
                    answer.append(buffer, static_cast<size_t>(n));
                break;
            }
            if (n > 0)
                sent += static_cast<size_t>(n);
        }
        close(fd);
    }
    if (closed)
        *closed = ended;
    return answer;
}
