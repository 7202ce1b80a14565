//===- SdkTest.h - Shared set-up of the SDK's client tests ------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TESTS_SDK_SDKTEST_H
#define PIGMENTOR_TESTS_SDK_SDKTEST_H

#include "TestServer.h"

#include <Handles.h>
#include <Operations.h>
#include <Sessions.h>
#include <t10.h>
#include <tqrv_color.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

/// Connects synchronously to the loopback server on `port`; null on failure.
inline tovrane_server* ConnectTo(int port, int32_t timeout = 5, t10_status* status = nullptr) {
    tovrane_server* handle = nullptr;
    t10_status result = INIT_connect("127.0.0.1", nullptr, nullptr, "sdk-tests", "1.0", nullptr,
                                     port, timeout, 1, T10_PROTOCOL_VERSION, 0, &handle, nullptr);
    if (status)
        *status = result;
    return handle;
}

/// Waits (at most five seconds) for abandoned operations to end, then releases what the
/// library holds and checks that nothing is left: no running operation, handle, session or
/// ticket record.
inline void ExpectAllReleased() {
    using namespace tovrane::client;
    for (int i = 0; i < 500 && RunningOperationCount() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(RunningOperationCount(), 0u);
    tovrane_unload();
    EXPECT_EQ(HandleCount(), 0u);
    EXPECT_EQ(SessionCount(), 0u);
    EXPECT_EQ(TicketRecordCount(), 0u);
}

/// A call's text output as the tests compare it: the text (freed here and cleared), "(none)"
/// when the call gave none, or "status N" when it failed. `text` is taken by reference so that
/// `TextOrStatus(Call(&text), text)` reads it after the call.
inline std::string TextOrStatus(int status, char*& text) {
    std::string result = status != T10_OK ? "status " + std::to_string(status)
                         : text           ? text
                                          : "(none)";
    tovrane_free(text);
    text = nullptr;
    return result;
}

/// Milliseconds since `start`.
inline long ElapsedMs(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

/// A test with the example server running and a connection to it.
class SdkTest : public ::testing::Test {
protected:
    void SetUp() override {
        mServer = std::make_unique<TestServer>(ServerArguments());
        ASSERT_TRUE(mServer->Started());
        mHandle = ConnectTo(mServer->Port());
        ASSERT_NE(mHandle, nullptr);
    }
    void TearDown() override {
        if (mHandle && mHandle->connected) {
            EXPECT_EQ(INIT_disconnectFromServer(mHandle, nullptr), T10_OK);
        }
        mServer.reset();
        ExpectAllReleased();
    }
    /// Extra server arguments of a test group.
    virtual std::vector<std::string> ServerArguments() const { return {}; }

    std::unique_ptr<TestServer> mServer;
    tovrane_server* mHandle = nullptr;
};

#endif // PIGMENTOR_TESTS_SDK_SDKTEST_H
