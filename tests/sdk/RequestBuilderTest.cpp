// Request bodies: written directly, they must come out byte for byte as the JSON library
// writes the same object (member order, escapes, replaced bytes, last of a repeated name).
#include <JsonRead.h>
#include <RequestBuilder.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tovrane::Json;
using tovrane::client::RequestBuilder;

TEST(RequestBuilder, WritesWhatTheLibraryWrites) {
    std::vector<std::string> texts = {
        "", "plain", "quote \" backslash \\ slash /", "\b\f\n\r\t", "\x7F", "caf\xC3\xA9 \xE2\x82\xAC",
        "\xF0\x9F\x98\x80", "bad \xC3", "bad \x80 lone", "over\xC1\xBF", "\xED\xA0\x80 surrogate",
        std::string("nul \0 inside", 12),
    };
    for (int c = 1; c < 0x20; ++c)
        texts.push_back(std::string(1, static_cast<char>(c)) + "x");
    for (const std::string& text : texts) {
        RequestBuilder builder;
        builder.Text("locale", text).Int("language", -7).Text("context", nullptr);
        builder.Text("key", text.c_str()).Int("device", 3).Text("key", "last");
        Json expected = Json::object();
        expected["locale"] = text;
        expected["language"] = -7;
        expected["context"] = nullptr;
        expected["key"] = text.c_str();
        expected["device"] = 3;
        expected["key"] = "last";
        EXPECT_EQ(builder.Body(), tovrane::Serialise(expected)) << text;
    }
    EXPECT_EQ(RequestBuilder().Body(), "{}");
    EXPECT_EQ(RequestBuilder().Int("b", INT64_MIN).Text("a", "x").Body(),
              R"({"a":"x","b":-9223372036854775808})");
}

} // namespace
