#include <JsonRead.h>
#include <Protocol.h>
#include <ReplyDecoder.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DocumentDecoders.h"

using namespace tovrane::client;
using documentdecoders::ColourDefaultsFromDocument;
using documentdecoders::DeviceLinksFromDocument;
using documentdecoders::FeaturesFromDocument;
using documentdecoders::RootRepliesFromDecoders;
using documentdecoders::RootRepliesFromDocument;
using documentdecoders::ProfilesFromDocument;
using documentdecoders::StringsFromDocument;

TEST(ReplyDecoder, EnvelopeNeedsAnObjectWithAStatus) {
    EXPECT_EQ(DecodeStatus(R"({"status":0})"), T10_OK);
    EXPECT_EQ(DecodeStatus(R"({"status":13,"error":"unknown device"})"), T10_ERR_NOT_FOUND);
    EXPECT_EQ(DecodeStatus(""), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"({"status":0)"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"([{"status":0}])"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"({})"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"({"status":"0"})"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"({"status":0.5})"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"({"status":-1})"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"({"status":128})"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus(R"({"status":18446744073709551615})"), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeStatus("{\"status\":0,\"x\":\"\xFF\"}"), T10_ERR_PROTOCOL); // not UTF-8
    std::string deep = R"({"status":0,"x":)" + std::string(20, '[') + std::string(20, ']') + "}";
    EXPECT_EQ(DecodeStatus(deep), T10_ERR_PROTOCOL);
    std::string brackets = R"({"status":0,"x":")" + std::string(40, '[') + R"("})";
    EXPECT_EQ(DecodeStatus(brackets), T10_OK); // inside a string they are text
    std::string huge =
        R"({"status":0,"x":")" + std::string(tovrane::protocol::kMaxReplyBytes, 'a') + R"("})";
    EXPECT_EQ(DecodeStatus(huge), T10_ERR_PROTOCOL);
}

TEST(ReplyDecoder, ErrorStatusesPassThroughUnread) {
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(DecodeDevices(R"({"status":8,"devices":7})", names), T10_ERR_SERVER);
    EXPECT_TRUE(names.empty());
    int32_t count = 5;
    EXPECT_EQ(DecodeJobCount(R"({"status":13})", count), T10_ERR_NOT_FOUND);
}

TEST(ReplyDecoder, EdgeValuesDecode) {
    SessionReply session{"stale", "stale"};
    ASSERT_EQ(DecodeSession(R"({"status":0})", session), T10_OK);
    EXPECT_EQ(session.locale, "");
    std::vector<int32_t> scopes;
    ASSERT_EQ(DecodeScopes(R"({"status":0,"scopes":[-1,0,2147483647]})", scopes), T10_OK);
    EXPECT_EQ(scopes, (std::vector<int32_t>{-1, 0, 2147483647}));
    Messages messages;
    ASSERT_EQ(DecodeMessages(R"({"status":0,"messages":["Ready",null]})", messages), T10_OK);
    EXPECT_TRUE(messages.hasFirst && !messages.hasSecond);
    EXPECT_EQ(messages.first, "Ready");
    std::string text;
    ASSERT_EQ(DecodeText(R"({"status":0,"text":"Wei\u00dfpunkt"})", text), T10_OK);
    EXPECT_EQ(text, "Wei\xC3\x9Fpunkt");
    std::vector<std::string> devices{"stale"};
    ASSERT_EQ(DecodeDevices(R"({"status":0,"devices":[]})", devices), T10_OK);
    EXPECT_TRUE(devices.empty());
    bool present = true;
    std::string name = "old";
    ASSERT_EQ(DecodeOptionalName(R"({"status":0,"id":null})", "id", present, name), T10_OK);
    EXPECT_FALSE(present);
    EXPECT_EQ(name, "");
    ASSERT_EQ(DecodeOptionalName(R"({"status":0,"id":"P1"})", "id", present, name), T10_OK);
    EXPECT_TRUE(present);
    EXPECT_EQ(name, "P1");
}

namespace {

using Reader = std::function<t10_status(std::string_view)>;

/// `decode` with an output of its own.
template <class Out> Reader Using(t10_status (*decode)(std::string_view, Out&)) {
    return [decode](std::string_view body) {
        Out out;
        return decode(body, out);
    };
}

} // namespace

TEST(ReplyDecoder, EachReplyRefusesWhatItMayNotHold) {
    std::string many = R"({"status":0,"devices":[)";
    for (int i = 0; i < 257; ++i)
        many += std::string(i ? "," : "") + "\"d\"";
    const Reader locales = [](std::string_view body) {
        NamedList list;
        return DecodeNamedList(body, "locales", list);
    };
    const Reader optionalId = [](std::string_view body) {
        bool present;
        std::string name;
        return DecodeOptionalName(body, "id", present, name);
    };
    const std::pair<Reader, std::string> bad[] = {
        {Using(DecodeHello), R"({"status":0,"server":"CS-50","protocol":0})"},
        {Using(DecodeHello), R"({"status":0,"protocol":1})"},
        {Using(DecodeSession), R"({"status":0,"locale":5})"},
        {Using(DecodeFeatures), R"({"status":0,"features":{}})"},
        {Using(DecodeDevices), R"({"status":0,"devices":["A",null]})"},
        {Using(DecodeDevices), R"({"status":0,"devices":["A\u0000B"]})"}, // NUL cuts C texts
        {Using(DecodeDevices), R"({"status":0,"devices":[")" + std::string(256, 'n') + R"("]})"},
        {Using(DecodeDevices), many + "]}"},
        {Using(DecodeAttributeValues), R"({"status":0,"values":[{"value":"1","kind":"float"}]})"},
        {Using(DecodeScopes), R"({"status":0,"scopes":[-2]})"},
        {Using(DecodeScopes), R"({"status":0,"scopes":[2147483648]})"},
        {Using(DecodeScopes), R"({"status":0,"scopes":[1.5]})"},
        {Using(DecodeTrays),
         R"({"status":0,"trays":[{"name":"T1","max_capacity":-1,"level":0,"media":[]}]})"},
        {Using(DecodeTrays),
         R"({"status":0,"trays":[{"name":"T1","max_capacity":1,"level":0,"media":[1]}]})"},
        {Using(DecodeMessages), R"({"status":0,"messages":["Ready"]})"},
        {Using(DecodeMessages), R"({"status":0,"messages":["a",2]})"},
        {Using(DecodeJobCount), R"({"status":0,"count":-3})"},
        {Using(DecodeJobCount), R"({"status":0,"count":4294967296})"},
        {locales, R"({"status":0,"default":"en_US","encodings":[]})"},
        {Using(DecodeText), R"({"status":0,"text":null})"},
        {optionalId, R"({"status":0})"},
        {optionalId, R"({"status":0,"id":[]})"},
    };
    for (const auto& [decode, body] : bad)
        EXPECT_EQ(decode(body), T10_ERR_PROTOCOL) << body.substr(0, 80);
    // A list refused part way leaves nothing half-decoded behind.
    std::vector<Feature> features{{"stale", "stale"}};
    EXPECT_EQ(DecodeFeatures(R"({"status":0,"features":[{"name":"P"}]})", features),
              T10_ERR_PROTOCOL);
    EXPECT_TRUE(features.empty());
}

TEST(ReplyDecoder, StreamedStringListAnswersAsTheWholeDocument) {
    const std::string longName(tovrane::protocol::kMaxNameBytes + 1, 'n');
    const std::string longText(tovrane::protocol::kMaxTextBytes + 1, 't');
    const std::vector<std::string> bodies{
        R"({"status":0,"strings":[{"context":"C","key":"K","text":"T"},{"key":"k","text":"t"}]})",
        R"({"strings":[{"key":"K","text":"T"}],"status":0,"other":{"a":[1,{"b":null}]}})",
        R"({"status":0,"strings":[{"context":null,"key":"K","text":"T","x":[{"key":5}]}]})",
        R"({"status":0,"strings":[{"key":"K","text":"T","key":"L"}]})", // the last key wins
        R"({"status":0,"strings":[{"key":5,"text":"T","key":"L"}]})",
        R"({"status":0,"strings":[{"key":"L","text":"T","key":5}]})",
        R"({"status":0,"strings":[{"key":"K","text":"T"}],"strings":[]})",
        R"({"status":0,"strings":7,"strings":[{"key":"K","text":"T"}]})",
        R"({"status":0,"strings":[{"key":"K","text":"T"}],"strings":{}})",
        R"({"status":5,"status":0,"strings":[]})",
        R"({"status":13,"strings":"garbage"})",
        R"({"status":-0,"strings":[]})",
        R"({"strings":[{"key":"K","text":"T"}]})",
        R"({"strings":[{"key":"K","text":"T"}],"status":"0"})",
        R"({"status":0,"strings":[{"key":"K","text":["T"]}]})",
        R"({"status":0,"strings":[{"context":3,"key":"K","text":"T"}]})",
        R"({"status":0,"strings":[{"key":"K"}]})",
        R"({"status":0,"strings":[["K","T"]]})",
        R"({"status":0,"strings":["K"]})",
        R"({"status":0,"strings":[{"key":"K\u0000","text":"T"}]})",
        R"({"status":0,"strings":[{"key":")" + longName + R"(","text":"T"}]})",
        R"({"status":0,"strings":[{"key":"K","text":")" + longText + R"("}]})",
        R"({"status":0,"strings":[{"key":"K","text":")" + longName + R"("}]})",
        R"({"status":0,"strings":[{"key":"K","text":"T"}]} x)",
        R"({"status":0,"strings":[{"key":"K","text":"T"})",
        R"([{"status":0,"strings":[]}])",
        R"({"status":0.0,"strings":[]})",
        "{\"status\":0,\"strings\":[{\"key\":\"K\",\"text\":\"\xC3\"}]}",
        R"({"status":0,"strings":[{"key":"K","text":"T","x":)" + std::string(14, '[') +
            std::string(14, ']') + "}]}",
        R"({"status":0,"strings":[{"key":"K","text":"T","x":)" + std::string(13, '[') +
            std::string(13, ']') + "}]}",
    };
    auto many = [](size_t count) {
        std::string body = R"({"status":0,"strings":[)";
        for (size_t i = 0; i < count; ++i)
            body +=
                std::string(i ? "," : "") + R"({"key":"k)" + std::to_string(i) + R"(","text":"t"})";
        return body + "]}";
    };
    std::vector<std::string> all = bodies;
    all.push_back(many(tovrane::protocol::kMaxListEntries));
    all.push_back(many(tovrane::protocol::kMaxListEntries + 1));
    for (const std::string& body : all) {
        std::vector<LocalisedString> streamed{{"stale", "stale", "stale"}}, whole;
        t10_status expected = StringsFromDocument(body, whole);
        EXPECT_EQ(DecodeStrings(body, streamed), expected) << body.substr(0, 200);
        ASSERT_EQ(streamed.size(), whole.size()) << body.substr(0, 200);
        for (size_t i = 0; i < whole.size(); ++i)
            EXPECT_TRUE(streamed[i].context == whole[i].context &&
                        streamed[i].key == whole[i].key && streamed[i].text == whole[i].text);
    }
}

TEST(ReplyDecoder, StreamedColourDefaultsAnswerAsTheWholeDocument) {
    const std::string longName(tovrane::protocol::kMaxNameBytes + 1, 'n');
    const std::vector<std::string> bodies{
        R"({"status":0,"keys":[{"key":"*A","default":"X","values":["X","Y"]},{"key":"*B","values":[]}]})",
        R"({"keys":[{"key":"*A","default":null,"values":["X"]}],"status":0,"o":{"k":[1,{"b":null}]}})",
        R"({"status":0,"keys":[{"key":"*A","values":["X"],"x":[{"key":5,"values":3}]}]})",
        R"({"status":0,"keys":[{"key":"*A","values":["X"],"key":"*B"}]})", // the last key wins
        R"({"status":0,"keys":[{"key":5,"values":[],"key":"*B"}]})",
        R"({"status":0,"keys":[{"key":"*B","values":[],"key":5}]})",
        R"({"status":0,"keys":[{"key":"*B","default":"D","default":null,"values":[]}]})",
        R"({"status":0,"keys":[{"key":"*B","default":null,"default":"D","values":[]}]})",
        R"({"status":0,"keys":[{"key":"*B","default":3,"default":"D","values":[]}]})",
        R"({"status":0,"keys":[{"key":"*B","default":"D","default":3,"values":[]}]})",
        R"({"status":0,"keys":[{"key":"*B","values":[],"values":["Z"]}]})",
        R"({"status":0,"keys":[{"key":"*B","values":["Z"],"values":7}]})",
        R"({"status":0,"keys":[{"key":"*B","values":7,"values":["Z"]}]})",
        R"({"status":0,"keys":[{"key":"*B","values":["Z",["Y"]]}]})",
        R"({"status":0,"keys":[{"key":"*B","values":["Z",null]}]})",
        R"({"status":0,"keys":[{"key":"*B","values":{"a":"Z"}}]})",
        R"({"status":0,"keys":[{"key":"*B","default":["D"],"values":[]}]})",
        R"({"status":0,"keys":[{"key":"*B"}]})",
        R"({"status":0,"keys":[{"values":[]}]})",
        R"({"status":0,"keys":[{"key":"*A","values":[]}],"keys":[]})",
        R"({"status":0,"keys":7,"keys":[{"key":"*A","values":[]}]})",
        R"({"status":0,"keys":[{"key":"*A","values":[]}],"keys":{}})",
        R"({"status":5,"status":0,"keys":[]})",
        R"({"status":13,"keys":"garbage"})",
        R"({"status":-0,"keys":[]})",
        R"({"keys":[]})",
        R"({"status":"0","keys":[]})",
        R"({"status":0,"keys":[["*A"]]})",
        R"({"status":0,"keys":["*A"]})",
        R"({"status":0,"keys":[{"key":"*A\u0000","values":[]}]})",
        R"({"status":0,"keys":[{"key":"*A","values":["\u0000"]}]})",
        R"({"status":0,"keys":[{"key":"*A","default":"\u0000","values":[]}]})",
        R"({"status":0,"keys":[{"key":")" + longName + R"(","values":[]}]})",
        R"({"status":0,"keys":[{"key":"*A","default":")" + longName + R"(","values":[]}]})",
        R"({"status":0,"keys":[{"key":"*A","values":[")" + longName + R"("]}]})",
        R"({"status":0,"keys":[]} x)",
        R"({"status":0,"keys":[)",
        R"([{"status":0,"keys":[]}])",
        R"({"status":0.0,"keys":[]})",
        R"({"status":0,"keys":[{"key":"*A","values":[],"x":)" + std::string(13, '[') +
            std::string(13, ']') + "}]}",
        R"({"status":0,"keys":[{"key":"*A","values":[],"x":)" + std::string(12, '[') +
            std::string(12, ']') + "}]}",
    };
    auto keys = [](size_t count) {
        std::string body = R"({"status":0,"keys":[)";
        for (size_t i = 0; i < count; ++i)
            body += std::string(i ? "," : "") + R"({"key":"k)" + std::to_string(i) +
                    R"(","values":["v"]})";
        return body + "]}";
    };
    auto values = [](size_t count) {
        std::string body = R"({"status":0,"keys":[{"key":"k","values":[)";
        for (size_t i = 0; i < count; ++i)
            body += std::string(i ? "," : "") + "\"v\"";
        return body + "]}]}";
    };
    std::vector<std::string> all = bodies;
    for (size_t count : {tovrane::protocol::kMaxSmallList, tovrane::protocol::kMaxSmallList + 1,
                         tovrane::protocol::kMaxListEntries + 1}) {
        all.push_back(keys(count));
        all.push_back(values(count));
    }
    for (const std::string& body : all) {
        ColourDefaultList streamed{{"stale", true, "stale", {"stale"}}}, whole;
        t10_status expected = ColourDefaultsFromDocument(body, whole);
        EXPECT_EQ(DecodeColourDefaults(body, streamed), expected) << body.substr(0, 200);
        ASSERT_EQ(streamed.size(), whole.size()) << body.substr(0, 200);
        for (size_t i = 0; i < whole.size(); ++i)
            EXPECT_TRUE(streamed[i].key == whole[i].key &&
                        streamed[i].hasDefault == whole[i].hasDefault &&
                        streamed[i].defaultValue == whole[i].defaultValue &&
                        streamed[i].values == whole[i].values)
                << body.substr(0, 200);
    }
}

TEST(ReplyDecoder, StreamedRootMembersAnswerAsTheWholeDocument) {
    const std::string longName(tovrane::protocol::kMaxNameBytes + 1, 'n');
    const std::string good =
        R"("server":"S","protocol":2,"locale":"de","encoding":"UTF-8","default":"de",)"
        R"("locales":["de","en"],"devices":["P1","P2"])";
    auto names = [](const char* field, size_t count) {
        std::string body = R"({"status":0,"default":"d",")" + std::string(field) + R"(":[)";
        for (size_t i = 0; i < count; ++i)
            body += i ? ",\"n\"" : "\"n\"";
        return body + "]}";
    };
    const std::vector<std::string> bodies{
        "{\"status\":0," + good + "}",
        "{" + good + ",\"status\":0}",
        "{\"status\":4," + good + "}",
        "{\"status\":0," + good + ",\"server\":null,\"locale\":7,\"locales\":{}}",
        "{\"status\":0," + good + ",\"server\":[\"S\"],\"encoding\":{\"a\":1},\"devices\":\"P\"}",
        "{\"status\":0," + good + ",\"protocol\":0,\"default\":\"x\\u0000\",\"devices\":[\"P\",null]}",
        "{\"status\":0," + good + ",\"protocol\":-1,\"locales\":[\"de\",[\"en\"]],\"devices\":[]}",
        "{\"status\":0," + good + ",\"protocol\":2147483648,\"locale\":null,\"encoding\":null}",
        "{\"status\":0," + good + ",\"protocol\":2.0,\"server\":\"" + longName + "\"}",
        "{\"status\":0," + good + ",\"protocol\":true,\"locales\":[\"" + longName + "\"]}",
        "{\"status\":0," + good + ",\"devices\":[{}],\"devices\":[\"Q\"]}",
        "{\"status\":0," + good + ",\"locales\":[\"de\"],\"locales\":null}",
        R"({"status":0})", R"({"status":0,"x":[[{"status":5}]]})", R"({"status":"0"})",
        R"({"status":128})", R"({"status":-1})", R"({"status":[0]})", R"({"status":0,"status":{}})",
        R"({"status":3,"status":0,"devices":["D"]})", R"([{"status":0}])", R"("status")",
        R"({"status":0} {})", R"({"status":0,})",
        names("locales", tovrane::protocol::kMaxSmallList),
        names("locales", tovrane::protocol::kMaxSmallList + 1),
        names("devices", tovrane::protocol::kMaxSmallList),
        names("devices", tovrane::protocol::kMaxSmallList + 1),
    };
    for (const std::string& body : bodies)
        EXPECT_EQ(RootRepliesFromDecoders(body), RootRepliesFromDocument(body)) << body;
    // The good reply decodes whole, so the comparison is not only of refusals.
    EXPECT_EQ(RootRepliesFromDecoders(bodies[0]),
              "status 0\nhello S/2\nsession de/UTF-8\nlocales de,de,en\ndevices ,P1,P2");
}

TEST(ReplyDecoder, StreamedFeaturesAnswerAsTheWholeDocument) {
    const std::string longName(tovrane::protocol::kMaxNameBytes + 1, 'n');
    const std::string longText(tovrane::protocol::kMaxTextBytes + 1, 't');
    const std::string feature = R"({"name":"N","value":"V"})";
    auto repeat = [&](size_t count) {
        std::string body = R"({"status":0,"features":[)";
        for (size_t i = 0; i < count; ++i)
            body += (i ? "," : "") + feature;
        return body + "]}";
    };
    const std::vector<std::string> bodies{
        R"({"status":0,"features":[{"name":"A","value":"1"},{"value":"2","x":[{}],"name":"B"}]})",
        R"({"features":[],"status":0})",
        R"({"status":0,"features":[{"name":"A","value":"1","name":"B"}]})", // last wins
        R"({"status":0,"features":[{"name":"A","value":"1","value":null}]})",
        R"({"status":0,"features":[{"name":null,"value":"1","name":"A"}]})",
        R"({"status":0,"features":[{"name":"A"}]})",
        R"({"status":0,"features":[{"name":"A","value":1}]})",
        R"({"status":0,"features":[{"name":"A","value":["1"]}]})",
        R"({"status":0,"features":[{"name":"A\u0000","value":"1"}]})",
        R"({"status":0,"features":[{"name":")" + longName + R"(","value":"1"}]})",
        R"({"status":0,"features":[{"name":"A","value":")" + longText + R"("}]})",
        R"({"status":0,"features":[{"name":"A","value":")" + longText.substr(1) + R"("}]})",
        R"({"status":0,"features":["A"]})",
        R"({"status":0,"features":{"name":"A","value":"1"}})",
        R"({"status":0,"features":[)" + feature + R"(],"features":null})",
        R"({"status":0})",
        R"({"status":12,"features":7})",
        R"({"status":0,"features":[]}])",
        repeat(tovrane::protocol::kMaxSmallList),
        repeat(tovrane::protocol::kMaxSmallList + 1),
    };
    size_t decoded = 0;
    for (const std::string& body : bodies) {
        std::vector<Feature> streamed{{"stale", "stale"}}, whole;
        t10_status expected = FeaturesFromDocument(body, whole);
        EXPECT_EQ(DecodeFeatures(body, streamed), expected) << body.substr(0, 200);
        ASSERT_EQ(streamed.size(), whole.size()) << body.substr(0, 200);
        for (size_t i = 0; i < whole.size(); ++i)
            EXPECT_TRUE(streamed[i].name == whole[i].name && streamed[i].value == whole[i].value)
                << body.substr(0, 200);
        decoded += !whole.empty();
    }
    EXPECT_GE(decoded, 4u); // not only refusals are compared
}

TEST(ReplyDecoder, StreamedProfilesAndDeviceLinksAnswerAsTheWholeDocument) {
    const std::string longName(tovrane::protocol::kMaxNameBytes + 1, 'n');
    auto repeat = [](const char* head, const std::string& element, size_t count) {
        std::string body = head;
        for (size_t i = 0; i < count; ++i)
            body += (i ? "," : "") + element;
        return body + "]}";
    };
    const std::string small = std::to_string(tovrane::protocol::kMaxSmallList);
    std::vector<std::string> profiles{
        R"({"status":0,"profiles":[{"id":"P1","descriptions":["A","B"]},{"id":"P2","descriptions":[]}]})",
        R"({"profiles":[{"descriptions":["A"],"x":{"id":5},"id":"P1"}],"status":0})",
        R"({"status":0,"profiles":[{"id":"P1","descriptions":["A"],"id":"P2"}]})", // last wins
        R"({"status":0,"profiles":[{"id":"P1","descriptions":["A"],"id":null}]})",
        R"({"status":0,"profiles":[{"id":5,"descriptions":["A"],"id":"P1"}]})",
        R"({"status":0,"profiles":[{"id":"P1","descriptions":["A"],"descriptions":7}]})",
        R"({"status":0,"profiles":[{"id":"P1","descriptions":7,"descriptions":["B"]}]})",
        R"({"status":0,"profiles":[{"id":"P1","descriptions":["A",null]}]})",
        R"({"status":0,"profiles":[{"id":"P1","descriptions":["A",["B"]]}]})",
        R"({"status":0,"profiles":[{"id":"P1","descriptions":{"a":"A"}}]})",
        R"({"status":0,"profiles":[{"id":"P1"}]})",
        R"({"status":0,"profiles":[{"descriptions":[]}]})",
        R"({"status":0,"profiles":[{"id":"P\u0000","descriptions":[]}]})",
        R"({"status":0,"profiles":[{"id":"P1","descriptions":[")" + longName + R"("]}]})",
        R"({"status":0,"profiles":["P1"]})",
        R"({"status":0,"profiles":{}})",
        R"({"status":7,"profiles":"garbage"})",
        R"({"status":0,"profiles":[]} x)",
        repeat(R"({"status":0,"profiles":[)", R"({"id":"P","descriptions":["d"]})",
               tovrane::protocol::kMaxSmallList),
        repeat(R"({"status":0,"profiles":[)", R"({"id":"P","descriptions":["d"]})",
               tovrane::protocol::kMaxSmallList + 1),
        repeat(R"({"status":0,"profiles":[{"id":"P","descriptions":[)", R"("d")",
               tovrane::protocol::kMaxSmallList) + "]}",
        repeat(R"({"status":0,"profiles":[{"id":"P","descriptions":[)", R"("d")",
               tovrane::protocol::kMaxSmallList + 1) + "]}",
    };
    for (const std::string& body : profiles) {
        std::vector<ProfileEntry> streamed{{"stale", {"stale"}}}, whole;
        t10_status expected = ProfilesFromDocument(body, whole);
        EXPECT_EQ(DecodeProfiles(body, streamed), expected) << body.substr(0, 200);
        ASSERT_EQ(streamed.size(), whole.size()) << body.substr(0, 200);
        for (size_t i = 0; i < whole.size(); ++i)
            EXPECT_TRUE(streamed[i].id == whole[i].id &&
                        streamed[i].descriptions == whole[i].descriptions)
                << body.substr(0, 200);
    }
    const std::string link = R"({"source":"S","destination":"D","name":"L","intents":3})";
    std::vector<std::string> links{
        R"({"status":0,"links":[)" + link + R"(,{"intents":0,"name":"M","destination":"E","source":"T"}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":2147483647}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":2147483648}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":-1}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":-0}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":1.0}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":"1"}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":[1]}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L"}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","intents":1}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":1,"intents":-1}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":-1,"intents":1}]})",
        R"({"status":0,"links":[{"source":"S","source":"T","destination":"D","name":"L","intents":1}]})",
        R"({"status":0,"links":[{"source":"S","destination":"D","name":"L","intents":1,"name":null}]})",
        R"({"status":0,"links":[{"source":"S","destination":{"a":1},"name":"L","intents":1}]})",
        R"({"status":0,"links":[{"source":")" + longName + R"(","destination":"D","name":"L","intents":1}]})",
        R"({"status":0,"links":[)" + link + R"(,{"source":"S"}]})",
        R"({"status":0,"links":[)" + link + R"(],"links":[]})",
        R"({"status":0,"links":[)" + link + R"(],"x":[[[{"intents":-1}]]]})",
        R"({"status":0,"links":null})",
        R"({"status":3})",
        repeat(R"({"status":0,"links":[)", link, tovrane::protocol::kMaxListEntries + 1),
    };
    for (const std::string& body : links) {
        std::vector<DeviceLinkEntry> streamed{{"stale", "stale", "stale", 9}}, whole;
        t10_status expected = DeviceLinksFromDocument(body, whole);
        EXPECT_EQ(DecodeDeviceLinks(body, streamed), expected) << body.substr(0, 200);
        ASSERT_EQ(streamed.size(), whole.size()) << body.substr(0, 200);
        for (size_t i = 0; i < whole.size(); ++i)
            EXPECT_TRUE(streamed[i].source == whole[i].source &&
                        streamed[i].destination == whole[i].destination &&
                        streamed[i].name == whole[i].name &&
                        streamed[i].intents == whole[i].intents)
                << body.substr(0, 200);
    }
    // The good replies decode, so the comparison above is not only of refusals.
    std::vector<ProfileEntry> good;
    ASSERT_EQ(DecodeProfiles(profiles[0], good), T10_OK);
    ASSERT_EQ(good.size(), 2u);
    EXPECT_EQ(good[0].descriptions, (std::vector<std::string>{"A", "B"}));
    std::vector<DeviceLinkEntry> goodLinks;
    ASSERT_EQ(DecodeDeviceLinks(links[0], goodLinks), T10_OK);
    ASSERT_EQ(goodLinks.size(), 2u);
    EXPECT_EQ(goodLinks[1].source, "T");
    EXPECT_EQ(goodLinks[1].intents, 0);
}
