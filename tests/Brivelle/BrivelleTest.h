//===- BrivelleTest.h - Shared set-up of the server-layer tests -------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TESTS_BRIVELLE_BRIVELLETEST_H
#define PIGMENTOR_TESTS_BRIVELLE_BRIVELLETEST_H

#include "SdkTest.h"
#include "TestServer.h"

#include <Brivelle.h>
#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

/// The example server's first device.
constexpr const char* kC5000 = "Tarvo C5000 Color Server";

/// The UTF-8 text of `string`, or "(null)" for null (so that a missing string never equals
/// an expected text).
std::string Text(CFStringRef string);
/// Text(string), then releases it.
std::string TakeText(CFStringRef string);
/// The UTF-8 texts of an array of strings.
std::vector<std::string> Texts(CFArrayRef array);

/// Asks `done` every 10 ms for at most five seconds; its last answer.
template <typename Done>
bool PollUntil(Done done) {
    for (int i = 0; i < 500; ++i) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

/// A file in /tmp holding `text`, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& text);
    ~TempFile();
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

/// A plug-in bundle in a temporary folder, with the plug-in's identifier and the given
/// "ServerLanguage" text in its English default table (none when `serverLanguage` is null),
/// open (and so found by identifier) while the object lives.
class TempBundle {
public:
    explicit TempBundle(const char* serverLanguage);
    ~TempBundle();
    CFBundleRef Get() const { return mBundle; }

private:
    std::string mDir;
    CFBundleRef mBundle = nullptr;
};

/// A server description whose Pigmentor feature is off ("0"), for the colour fetch to be
/// refused: written to a file and passed to StartServer.
inline const char* const kPigmentorOffServer = R"({
  "server": {"name": "Plain"},
  "features": [{"name": "Pigmentor", "value": "0"}],
  "locales": {"default": "en_US", "list": ["en_US"]},
  "encodings": {"default": "UTF-8", "list": ["UTF-8"]},
  "devices": [{"name": "Plain Device"}]
})";

/// A test against a tovrane-server on a loopback port: `StartServer` starts it and points
/// TOVRANE_SERVER_PORT at it; `Connect` makes a synchronously connected Brivelle. TearDown
/// deletes the connection, stops the server and checks that nothing was left behind.
class ServerTest : public ::testing::Test {
protected:
    void StartServer(const std::vector<std::string>& arguments = {},
                     const std::string& description = TestServer::ExamplePath());
    /// A connection to the server (127.0.0.1) with `timeout`; connected, or the test fails.
    Brivelle& Connect(int timeout = 0);
    /// Opens the localisation session (language 0) so that server texts get localised.
    void OpenLocalization();
    void TearDown() override;

    std::unique_ptr<TestServer> mServer;
    std::unique_ptr<Brivelle> mConnection;
};

#endif // PIGMENTOR_TESTS_BRIVELLE_BRIVELLETEST_H
