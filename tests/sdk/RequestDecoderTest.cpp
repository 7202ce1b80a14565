#include <RequestDecoder.h>
#include <t10.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace tovrane::server;
using tovrane::protocol::Endpoint;

TEST(RequestDecoder, ReadsTheMembersTheServerUses) {
    Request request;
    ASSERT_EQ(DecodeRequest(Endpoint::Hello,
                            R"({"protocol":1,"client":"pane","client_version":null,"user":"me"})",
                            request),
              T10_OK);
    EXPECT_EQ(request.endpoint, Endpoint::Hello);
    EXPECT_EQ(request.protocolVersion, 1);
    ASSERT_EQ(
        DecodeRequest(Endpoint::OpenSession,
                      R"({"service":"localisation","language":2,"locale":"","encoding":"UTF-8"})",
                      request),
        T10_OK);
    EXPECT_EQ(request.service, "localisation");
    EXPECT_EQ(request.language, 2);
    EXPECT_EQ(request.encoding, "UTF-8");
    ASSERT_EQ(
        DecodeRequest(
            Endpoint::OpenSession,
            R"({"service":"colour","device":"D","colour_service":"CSET","user":"GUEST","locale":null,"application":"A"})",
            request),
        T10_OK);
    EXPECT_EQ(request.device, "D");
    EXPECT_EQ(request.colourService, "CSET");
    EXPECT_EQ(request.locale, "");
    EXPECT_EQ(DecodeRequest(Endpoint::OpenSession, R"({"service":"jobs"})", request), T10_OK);
    ASSERT_EQ(DecodeRequest(Endpoint::Attribute, R"({"scope":-1,"name":"vidX"})", request), T10_OK);
    EXPECT_EQ(request.scope, -1);
    EXPECT_EQ(request.name, "vidX");
    ASSERT_EQ(DecodeRequest(Endpoint::AttributeKeys, R"({"scope":0,"prefix":null})", request),
              T10_OK);
    EXPECT_FALSE(request.hasPrefix);
    ASSERT_EQ(DecodeRequest(Endpoint::AttributeKeys, R"({"scope":0,"prefix":"vid"})", request),
              T10_OK);
    EXPECT_TRUE(request.hasPrefix);
    EXPECT_EQ(request.prefix, "vid");
    ASSERT_EQ(
        DecodeRequest(Endpoint::String, R"({"locale":"de_DE","key":"K","context":"C"})", request),
        T10_OK);
    EXPECT_EQ(request.key, "K");
    EXPECT_TRUE(request.hasContext);
    EXPECT_EQ(request.context, "C");
    ASSERT_EQ(DecodeRequest(Endpoint::DeviceLink,
                            R"({"device":"D","source":"","destination":"B","intents":2147483647})",
                            request),
              T10_OK);
    EXPECT_EQ(request.source, "");
    EXPECT_EQ(request.destination, "B");
    EXPECT_EQ(request.intents, 2147483647);
}

TEST(RequestDecoder, RefusesMalformedBodiesAndMembers) {
    const std::pair<Endpoint, std::string> bad[] = {
        {Endpoint::Devices, ""},
        {Endpoint::Devices, "[]"},
        {Endpoint::Devices, "{"},
        {Endpoint::Devices, R"({"x":)" + std::string(17, '[') + std::string(17, ']') + "}"},
        {Endpoint::Devices, R"({"x":")" + std::string(64 * 1024, 'a') + R"("})"},
        {Endpoint::Hello, R"({"client":"pane"})"},
        {Endpoint::Hello, R"({"protocol":"1"})"},
        {Endpoint::Hello, R"({"protocol":0})"},
        {Endpoint::Hello, R"({"protocol":1,"user":7})"},
        {Endpoint::OpenSession, R"({"service":"printing"})"},
        {Endpoint::OpenSession,
         R"({"service":"localisation","language":-1,"locale":"","encoding":""})"},
        {Endpoint::OpenSession, R"({"service":"colour","device":"D"})"},
        {Endpoint::Attribute, R"({"scope":-2,"name":"vidX"})"},
        {Endpoint::Attribute, R"({"scope":2147483648,"name":"vidX"})"},
        {Endpoint::Messages, R"({"device":-1})"},
        {Endpoint::String, R"({"locale":"de_DE"})"},
        {Endpoint::String, R"({"locale":"de_DE","key":")" + std::string(256, 'k') + R"("})"},
        {Endpoint::Profile, R"({"device":"D","description":null})"},
    };
    for (const auto& [endpoint, body] : bad) {
        Request request;
        EXPECT_EQ(DecodeRequest(endpoint, body, request), T10_ERR_PARAM) << body.substr(0, 80);
    }
    Request request;
    EXPECT_EQ(DecodeRequest(Endpoint::Devices, "{}", request), T10_OK);
}
