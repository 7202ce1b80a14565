#include <RequestDecoder.h>
#include <t10.h>

#include <gtest/gtest.h>

using namespace tovrane::server;
using tovrane::protocol::Endpoint;

namespace {

int Decode(Endpoint endpoint, const std::string& body) {
    Request request;
    return DecodeRequest(endpoint, body, request);
}

} // namespace

TEST(RequestDecoder, BodiesMustBeBoundedObjects) {
    EXPECT_EQ(Decode(Endpoint::Devices, "{}"), T10_OK);
    EXPECT_EQ(Decode(Endpoint::Devices, ""), T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::Devices, "[]"), T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::Devices, "{"), T10_ERR_PARAM);
    EXPECT_EQ(
        Decode(Endpoint::Devices, R"({"x":)" + std::string(17, '[') + std::string(17, ']') + "}"),
        T10_ERR_PARAM);
    std::string big = R"({"x":")" + std::string(64 * 1024, 'a') + R"("})";
    EXPECT_EQ(Decode(Endpoint::Devices, big), T10_ERR_PARAM);
}

TEST(RequestDecoder, HelloNeedsAProtocolNumber) {
    Request request;
    ASSERT_EQ(DecodeRequest(Endpoint::Hello,
                            R"({"protocol":1,"client":"pane","client_version":null,"user":"me"})",
                            request),
              T10_OK);
    EXPECT_EQ(request.endpoint, Endpoint::Hello);
    EXPECT_EQ(request.protocolVersion, 1);
    EXPECT_EQ(request.client, "pane");
    EXPECT_EQ(request.clientVersion, "");
    EXPECT_EQ(request.user, "me");
    EXPECT_EQ(Decode(Endpoint::Hello, R"({"client":"pane"})"), T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::Hello, R"({"protocol":"1"})"), T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::Hello, R"({"protocol":0})"), T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::Hello, R"({"protocol":1,"user":7})"), T10_ERR_PARAM);
}

TEST(RequestDecoder, SessionOpensByService) {
    Request request;
    ASSERT_EQ(
        DecodeRequest(Endpoint::OpenSession,
                      R"({"service":"localisation","language":2,"locale":"","encoding":"UTF-8"})",
                      request),
        T10_OK);
    EXPECT_EQ(request.service, "localisation");
    EXPECT_EQ(request.language, 2);
    EXPECT_EQ(request.locale, "");
    EXPECT_EQ(request.encoding, "UTF-8");
    ASSERT_EQ(
        DecodeRequest(
            Endpoint::OpenSession,
            R"({"service":"colour","device":"D","colour_service":"CSET","user":"GUEST","locale":null,"application":"A"})",
            request),
        T10_OK);
    EXPECT_EQ(request.device, "D");
    EXPECT_EQ(request.colourService, "CSET");
    EXPECT_EQ(request.user, "GUEST");
    EXPECT_EQ(request.locale, "");
    EXPECT_EQ(request.application, "A");
    EXPECT_EQ(Decode(Endpoint::OpenSession, R"({"service":"jobs"})"), T10_OK);
    EXPECT_EQ(Decode(Endpoint::OpenSession, R"({"service":"printing"})"), T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::OpenSession,
                     R"({"service":"localisation","language":-1,"locale":"","encoding":""})"),
              T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::OpenSession, R"({"service":"colour","device":"D"})"), T10_ERR_PARAM);
}

TEST(RequestDecoder, ReadsCheckTheirMembers) {
    Request request;
    ASSERT_EQ(DecodeRequest(Endpoint::Attribute, R"({"scope":-1,"name":"vidX"})", request), T10_OK);
    EXPECT_EQ(request.scope, -1);
    EXPECT_EQ(request.name, "vidX");
    EXPECT_EQ(Decode(Endpoint::Attribute, R"({"scope":-2,"name":"vidX"})"), T10_ERR_PARAM);
    EXPECT_EQ(Decode(Endpoint::Attribute, R"({"scope":2147483648,"name":"vidX"})"), T10_ERR_PARAM);
    ASSERT_EQ(DecodeRequest(Endpoint::AttributeKeys, R"({"scope":0,"prefix":null})", request),
              T10_OK);
    EXPECT_FALSE(request.hasPrefix);
    ASSERT_EQ(DecodeRequest(Endpoint::AttributeKeys, R"({"scope":0,"prefix":"vid"})", request),
              T10_OK);
    EXPECT_TRUE(request.hasPrefix);
    EXPECT_EQ(request.prefix, "vid");
    ASSERT_EQ(DecodeRequest(Endpoint::Trays, R"({"device":3})", request), T10_OK);
    EXPECT_EQ(request.deviceIndex, 3);
    EXPECT_EQ(Decode(Endpoint::Messages, R"({"device":-1})"), T10_ERR_PARAM);
    ASSERT_EQ(
        DecodeRequest(Endpoint::String, R"({"locale":"de_DE","key":"K","context":"C"})", request),
        T10_OK);
    EXPECT_EQ(request.locale, "de_DE");
    EXPECT_EQ(request.key, "K");
    EXPECT_TRUE(request.hasContext);
    EXPECT_EQ(request.context, "C");
    EXPECT_EQ(Decode(Endpoint::String, R"({"locale":"de_DE"})"), T10_ERR_PARAM);
    std::string longKey = R"({"locale":"de_DE","key":")" + std::string(256, 'k') + R"("})";
    EXPECT_EQ(Decode(Endpoint::String, longKey), T10_ERR_PARAM);
    ASSERT_EQ(DecodeRequest(Endpoint::ColourDefaults, R"({"device":"D","level":2})", request),
              T10_OK);
    EXPECT_EQ(request.device, "D");
    EXPECT_EQ(request.level, 2);
    ASSERT_EQ(DecodeRequest(Endpoint::DeviceLink,
                            R"({"device":"D","source":"","destination":"B","intents":2147483647})",
                            request),
              T10_OK);
    EXPECT_EQ(request.source, "");
    EXPECT_EQ(request.destination, "B");
    EXPECT_EQ(request.intents, 2147483647);
    EXPECT_EQ(Decode(Endpoint::Profile, R"({"device":"D","description":null})"), T10_ERR_PARAM);
}
