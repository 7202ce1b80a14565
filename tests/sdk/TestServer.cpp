//===- TestServer.cpp - A tovrane-server child process for tests ----------===//
#include "TestServer.h"

#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

/// Reads one line from `fd` within `timeoutMs`; false when none came.
bool ReadLine(int fd, int timeoutMs, std::string& line) {
    line.clear();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (line.size() < 256) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd poller{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&poller, 1, static_cast<int>(left.count())) <= 0)
            return false;
        char c;
        if (read(fd, &c, 1) != 1)
            return false;
        if (c == '\n')
            return true;
        line.push_back(c);
    }
    return false;
}

} // namespace

std::string TestServer::ExamplePath() {
    return std::string(PIGMENTOR_SOURCE_DIR) + "/examples/tovrane-server.json";
}

TestServer::TestServer(const std::vector<std::string>& arguments, const std::string& description) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    std::vector<std::string> words{TOVRANE_SERVER_PATH, "--port", "0"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    words.push_back(description);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    int spawned = posix_spawn(&mPid, TOVRANE_SERVER_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    mOutput = pipeFds[0];
    if (spawned != 0) {
        mPid = -1;
        return;
    }
    std::string line;
    const char* prefix = "listening on 127.0.0.1:";
    if (ReadLine(mOutput, 5000, line) && line.rfind(prefix, 0) == 0)
        mPort = std::atoi(line.c_str() + std::strlen(prefix));
}

TestServer::~TestServer() {
    Stop();
    if (mOutput >= 0)
        close(mOutput);
}

int TestServer::Stop() {
    if (mPid <= 0)
        return -1;
    kill(mPid, SIGTERM);
    int status = 0;
    pid_t pid = mPid;
    mPid = -1;
    mPort = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

int UnusedPort() {
    // Bound and closed again at once: the port is free until someone else takes it.
    int port = 0;
    const int fd = BindLoopback(port, 0);
    if (fd >= 0)
        close(fd);
    return port;
}
