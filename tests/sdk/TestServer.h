//===- TestServer.h - A tovrane-server child process for tests --------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TESTS_SDK_TESTSERVER_H
#define PIGMENTOR_TESTS_SDK_TESTSERVER_H

#include <sys/types.h>

#include <string>
#include <vector>

/// A tovrane-server started on a free loopback port (`--port 0`, the port read from its
/// first output line) with extra arguments and a description file (the example's by
/// default). The object owns the child: the destructor stops it with SIGTERM and reaps it,
/// killing it if it does not end within two seconds.
class TestServer {
public:
    explicit TestServer(const std::vector<std::string>& arguments = {},
                        const std::string& description = ExamplePath());
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    /// True when the server printed its port within five seconds.
    bool Started() const { return mPort > 0; }
    /// The port it listens on (127.0.0.1).
    int Port() const { return mPort; }
    /// Its process id (-1 when it is not running).
    pid_t Pid() const { return mPid; }
    /// Stops it with SIGTERM: its exit status (0 for a clean shutdown), -1 when it had to be
    /// killed or was not running.
    int Stop();

    /// examples/tovrane-server.json in the source tree.
    static std::string ExamplePath();

private:
    pid_t mPid = -1;
    int mOutput = -1;
    int mPort = 0;
};

/// A loopback port that nothing listens on (bound, then released).
int UnusedPort();

#endif // PIGMENTOR_TESTS_SDK_TESTSERVER_H
