#include <JsonRead.h>
#include <Protocol.h>
#include <ReplyDecoder.h>

#include <gtest/gtest.h>

#include "DocumentDecoders.h"

using namespace tovrane::client;
using documentdecoders::ColourDefaultsFromDocument;
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

TEST(ReplyDecoder, HelloAndSession) {
    HelloReply hello;
    ASSERT_EQ(DecodeHello(R"({"status":0,"server":"CS-50","protocol":1})", hello), T10_OK);
    EXPECT_EQ(hello.server, "CS-50");
    EXPECT_EQ(hello.protocol, 1);
    EXPECT_EQ(DecodeHello(R"({"status":0,"server":"CS-50","protocol":0})", hello),
              T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeHello(R"({"status":0,"protocol":1})", hello), T10_ERR_PROTOCOL);
    SessionReply session;
    ASSERT_EQ(DecodeSession(R"({"status":0,"locale":"de_DE","encoding":"UTF-8"})", session),
              T10_OK);
    EXPECT_EQ(session.locale, "de_DE");
    EXPECT_EQ(session.encoding, "UTF-8");
    ASSERT_EQ(DecodeSession(R"({"status":0})", session), T10_OK);
    EXPECT_EQ(session.locale, "");
    EXPECT_EQ(DecodeSession(R"({"status":0,"locale":5})", session), T10_ERR_PROTOCOL);
}

TEST(ReplyDecoder, ListsCheckEveryElement) {
    std::vector<Feature> features;
    ASSERT_EQ(
        DecodeFeatures(R"({"status":0,"features":[{"name":"Pigmentor","value":"1"}]})", features),
        T10_OK);
    ASSERT_EQ(features.size(), 1u);
    EXPECT_EQ(features[0].name, "Pigmentor");
    EXPECT_EQ(features[0].value, "1");
    EXPECT_EQ(DecodeFeatures(R"({"status":0,"features":[{"name":"P"}]})", features),
              T10_ERR_PROTOCOL);
    EXPECT_TRUE(features.empty()); // nothing half-decoded is left behind
    EXPECT_EQ(DecodeFeatures(R"({"status":0,"features":{}})", features), T10_ERR_PROTOCOL);

    std::vector<std::string> devices;
    EXPECT_EQ(DecodeDevices(R"({"status":0,"devices":["A",null]})", devices), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeDevices(R"({"status":0,"devices":["A\u0000B"]})", devices),
              T10_ERR_PROTOCOL); // a NUL would cut the text for C callers
    std::string longName = R"({"status":0,"devices":[")" + std::string(256, 'n') + R"("]})";
    EXPECT_EQ(DecodeDevices(longName, devices), T10_ERR_PROTOCOL);
    std::string many = R"({"status":0,"devices":[)";
    for (int i = 0; i < 257; ++i)
        many += std::string(i ? "," : "") + "\"d\"";
    EXPECT_EQ(DecodeDevices(many + "]}", devices), T10_ERR_PROTOCOL);
    ASSERT_EQ(DecodeDevices(R"({"status":0,"devices":[]})", devices), T10_OK);
    EXPECT_TRUE(devices.empty());
}

TEST(ReplyDecoder, AttributesAndScopes) {
    std::vector<AttributeValue> values;
    ASSERT_EQ(
        DecodeAttributeValues(
            R"({"status":0,"values":[{"value":"12","kind":"integer"},{"value":"A","kind":"keyword"}]})",
            values),
        T10_OK);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].value, "12");
    EXPECT_EQ(values[0].kind, T10_ATTR_INTEGER);
    EXPECT_EQ(values[1].kind, T10_ATTR_KEYWORD);
    EXPECT_EQ(
        DecodeAttributeValues(R"({"status":0,"values":[{"value":"1","kind":"float"}]})", values),
        T10_ERR_PROTOCOL);
    std::vector<AttributeEntry> entries;
    ASSERT_EQ(
        DecodeAttributeKeys(
            R"({"status":0,"attributes":[{"name":"vidX","value":"v","kind":"text"}]})", entries),
        T10_OK);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "vidX");
    EXPECT_EQ(entries[0].value, "v");
    EXPECT_EQ(entries[0].kind, T10_ATTR_TEXT);
    std::vector<int32_t> scopes;
    ASSERT_EQ(DecodeScopes(R"({"status":0,"scopes":[-1,0,2147483647]})", scopes), T10_OK);
    EXPECT_EQ(scopes, (std::vector<int32_t>{-1, 0, 2147483647}));
    EXPECT_EQ(DecodeScopes(R"({"status":0,"scopes":[-2]})", scopes), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeScopes(R"({"status":0,"scopes":[2147483648]})", scopes), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeScopes(R"({"status":0,"scopes":[1.5]})", scopes), T10_ERR_PROTOCOL);
}

TEST(ReplyDecoder, TraysAndMessages) {
    std::vector<Tray> trays;
    ASSERT_EQ(
        DecodeTrays(
            R"({"status":0,"trays":[{"name":"T1","max_capacity":100,"level":120,"media":["Plain"]}]})",
            trays),
        T10_OK);
    ASSERT_EQ(trays.size(), 1u);
    EXPECT_EQ(trays[0].name, "T1");
    EXPECT_EQ(trays[0].maxCapacity, 100);
    EXPECT_EQ(trays[0].level, 120);
    EXPECT_EQ(trays[0].media, (std::vector<std::string>{"Plain"}));
    EXPECT_EQ(DecodeTrays(
                  R"({"status":0,"trays":[{"name":"T1","max_capacity":-1,"level":0,"media":[]}]})",
                  trays),
              T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeTrays(
                  R"({"status":0,"trays":[{"name":"T1","max_capacity":1,"level":0,"media":[1]}]})",
                  trays),
              T10_ERR_PROTOCOL);
    Messages messages;
    ASSERT_EQ(DecodeMessages(R"({"status":0,"messages":["Ready",null]})", messages), T10_OK);
    EXPECT_TRUE(messages.hasFirst);
    EXPECT_EQ(messages.first, "Ready");
    EXPECT_FALSE(messages.hasSecond);
    EXPECT_EQ(DecodeMessages(R"({"status":0,"messages":["Ready"]})", messages), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeMessages(R"({"status":0,"messages":["a",2]})", messages), T10_ERR_PROTOCOL);
}

TEST(ReplyDecoder, CountsNamesAndTexts) {
    int32_t count = -1;
    ASSERT_EQ(DecodeJobCount(R"({"status":0,"count":3})", count), T10_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(DecodeJobCount(R"({"status":0,"count":-3})", count), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeJobCount(R"({"status":0,"count":4294967296})", count), T10_ERR_PROTOCOL);
    NamedList list;
    ASSERT_EQ(DecodeNamedList(R"({"status":0,"default":"en_US","locales":["en_US","ja_JP"]})",
                              "locales", list),
              T10_OK);
    EXPECT_EQ(list.defaultName, "en_US");
    EXPECT_EQ(list.names, (std::vector<std::string>{"en_US", "ja_JP"}));
    EXPECT_EQ(DecodeNamedList(R"({"status":0,"default":"en_US","encodings":[]})", "locales", list),
              T10_ERR_PROTOCOL);
    std::string text;
    ASSERT_EQ(DecodeText(R"({"status":0,"text":"Wei\u00dfpunkt"})", text), T10_OK);
    EXPECT_EQ(text, "Wei\xC3\x9Fpunkt");
    EXPECT_EQ(DecodeText(R"({"status":0,"text":null})", text), T10_ERR_PROTOCOL);
    std::vector<LocalisedString> strings;
    ASSERT_EQ(
        DecodeStrings(
            R"({"status":0,"strings":[{"context":null,"key":"K","text":"T"},{"context":"C","key":"V","text":"W"}]})",
            strings),
        T10_OK);
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0].context, "");
    EXPECT_EQ(strings[0].key, "K");
    EXPECT_EQ(strings[0].text, "T");
    EXPECT_EQ(strings[1].context, "C");
    EXPECT_EQ(strings[1].key, "V");
    EXPECT_EQ(strings[1].text, "W");
    EXPECT_EQ(DecodeStrings(R"({"status":0,"strings":[{"key":"K"}]})", strings), T10_ERR_PROTOCOL);
}

TEST(ReplyDecoder, ColourDefaultsAndOptionalNames) {
    std::vector<ColourDefault> keys;
    ASSERT_EQ(
        DecodeColourDefaults(
            R"({"status":0,"keys":[{"key":"*QVSimSpeed","default":"FAST","values":["FAST","BETR"]},{"key":"*QVPaperSim","default":null,"values":[]}]})",
            keys),
        T10_OK);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].key, "*QVSimSpeed");
    EXPECT_TRUE(keys[0].hasDefault);
    EXPECT_EQ(keys[0].defaultValue, "FAST");
    EXPECT_EQ(keys[0].values, (std::vector<std::string>{"FAST", "BETR"}));
    EXPECT_FALSE(keys[1].hasDefault);
    EXPECT_TRUE(keys[1].values.empty());
    EXPECT_EQ(DecodeColourDefaults(R"({"status":0,"keys":[{"key":"*K","values":"FAST"}]})", keys),
              T10_ERR_PROTOCOL);
    bool present = true;
    std::string name = "old";
    ASSERT_EQ(DecodeOptionalName(R"({"status":0,"id":null})", "id", present, name), T10_OK);
    EXPECT_FALSE(present);
    EXPECT_EQ(name, "");
    ASSERT_EQ(DecodeOptionalName(R"({"status":0,"id":"P1"})", "id", present, name), T10_OK);
    EXPECT_TRUE(present);
    EXPECT_EQ(name, "P1");
    EXPECT_EQ(DecodeOptionalName(R"({"status":0})", "id", present, name), T10_ERR_PROTOCOL);
    EXPECT_EQ(DecodeOptionalName(R"({"status":0,"id":[]})", "id", present, name), T10_ERR_PROTOCOL);
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
        std::vector<ColourDefault> streamed{{"stale", true, "stale", {"stale"}}}, whole;
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
