#include <Faults.h>
#include <ServerOptions.h>
#include <t10.h>

#include <gtest/gtest.h>

#include <vector>

using namespace tovrane::server;
using tovrane::protocol::Endpoint;

namespace {

bool Parse(std::vector<const char*> words, ServerOptions& options, std::string& error,
           const char* envPort = nullptr) {
    words.insert(words.begin(), "tovrane-server");
    return ParseServerOptions(static_cast<int>(words.size()), words.data(), envPort, options,
                              error);
}

} // namespace

TEST(ServerOptions, ReadsEveryOption) {
    ServerOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--host", "127.0.0.2", "--port", "0", "--latency-ms", "250", "--fail",
                       "close:trays", "server.json"},
                      options, error, "1234"));
    EXPECT_EQ(options.host, "127.0.0.2");
    EXPECT_EQ(options.port, 0); // the option outranks the environment
    EXPECT_EQ(options.latencyMs, 250);
    EXPECT_EQ(options.descriptionPath, "server.json");
    EXPECT_EQ(options.faults.For(Endpoint::Trays), Fault::Close);
    EXPECT_EQ(options.faults.For(Endpoint::Devices), Fault::None);
    EXPECT_FALSE(options.help);
}

TEST(ServerOptions, PortComesFromTheEnvironmentOrTheDefault) {
    ServerOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"d.json"}, options, error, "4321"));
    EXPECT_EQ(options.port, 4321);
    EXPECT_EQ(options.host, "127.0.0.1");
    ASSERT_TRUE(Parse({"d.json"}, options, error, nullptr));
    EXPECT_EQ(options.port, T10_DEFAULT_PORT);
    EXPECT_FALSE(Parse({"d.json"}, options, error, "99999"));
    EXPECT_FALSE(error.empty());
}

TEST(ServerOptions, RefusesBadCommandLines) {
    ServerOptions options;
    std::string error;
    EXPECT_FALSE(Parse({}, options, error));
    EXPECT_FALSE(Parse({"a.json", "b.json"}, options, error));
    EXPECT_FALSE(Parse({"--port"}, options, error));
    EXPECT_FALSE(Parse({"--port", "65536", "a.json"}, options, error));
    EXPECT_FALSE(Parse({"--port", "12x", "a.json"}, options, error));
    EXPECT_FALSE(Parse({"--latency-ms", "60001", "a.json"}, options, error));
    EXPECT_FALSE(Parse({"--host", "localhost", "a.json"}, options, error));
    EXPECT_FALSE(Parse({"--fail", "explode", "a.json"}, options, error));
    EXPECT_FALSE(Parse({"--verbose", "a.json"}, options, error));
    EXPECT_TRUE(Parse({"--help"}, options, error));
    EXPECT_TRUE(options.help);
}

TEST(Faults, CatchAllsSpareHelloAndNamedFaultsWin) {
    FaultPlan plan;
    EXPECT_EQ(plan.For(Endpoint::Hello), Fault::None);
    ASSERT_TRUE(plan.Add("garbage"));
    EXPECT_EQ(plan.For(Endpoint::Hello), Fault::None);
    EXPECT_EQ(plan.For(Endpoint::Strings), Fault::Garbage);
    ASSERT_TRUE(plan.Add("hello"));
    EXPECT_EQ(plan.For(Endpoint::Hello), Fault::Error);
    ASSERT_TRUE(plan.Add("close:strings"));
    EXPECT_EQ(plan.For(Endpoint::Strings), Fault::Close);
    ASSERT_TRUE(plan.Add("all"));
    EXPECT_EQ(plan.For(Endpoint::Jobs), Fault::Error);
    EXPECT_EQ(plan.For(Endpoint::Strings), Fault::Close);
    ASSERT_TRUE(plan.Add("error:device_link"));
    EXPECT_EQ(plan.For(Endpoint::DeviceLink), Fault::Error);
    EXPECT_FALSE(plan.Add("close:"));
    EXPECT_FALSE(plan.Add("melt:jobs"));
    EXPECT_FALSE(plan.Add("error"));
    EXPECT_FALSE(plan.Add(""));
}
