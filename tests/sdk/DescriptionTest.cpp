#include <Description.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace tovrane::server;

namespace {

const char* kMinimal = R"({
  "server": {"name": "CS"},
  "locales": {"default": "en_US", "list": ["en_US"]},
  "encodings": {"default": "UTF-8", "list": ["UTF-8"]}
})";

/// The minimal description with `members` added at its top level.
std::string With(const std::string& members) {
    std::string text = kMinimal;
    text.insert(text.rfind('}'), "," + members);
    return text;
}

const Attribute* Find(const Device& device, const std::string& name) {
    for (const Attribute& attribute : device.attributes)
        if (attribute.name == name)
            return &attribute;
    return nullptr;
}

} // namespace

TEST(Description, TraysAndColorantsBecomeAttributes) {
    Description d;
    std::string error;
    ASSERT_TRUE(LoadDescription(With(R"("devices": [{
        "name": "P",
        "attributes": {"vidInput1MaxCapacity": 999, "vidX": {"kind": "keyword", "values": ["A", "B"]}},
        "trays": [{"name": "T1", "max_capacity": 100, "level": 120, "media_name": "PLAIN",
                   "media": ["Plain"]},
                  {"name": "T2", "max_capacity": 50, "level": -1}],
        "colorants": [{"name": "Cyan", "capacity": 100, "level": 7}],
        "messages": [null, "Jam"]}])"),
                                d, error))
        << error;
    ASSERT_EQ(d.devices.size(), 1u);
    const Device& device = d.devices[0];
    struct Expect {
        const char* name;
        int32_t kind;
        const char* value;
    } expected[] = {
        {"vidInputNumOfTrays", 1, "2"},         {"vidInput1Name", 2, "T1"},
        {"vidInput1MaxCapacity", 1, "999"}, // given explicitly: kept
        {"vidInput1CurrentLevel", 1, "120"},    {"vidInput1MediaName", 2, "PLAIN"},
        {"vidInput2CurrentLevel", 1, "-1"},     {"vidMarkerColorantNumOfColorants", 1, "1"},
        {"vidMarkerColorant1Value", 0, "Cyan"}, {"vidMarkerSupply1MaxCapacity", 1, "100"},
        {"vidMarkerSupply1Level", 1, "7"},      {"vidX", 2, "A"},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name);
        const Attribute* attribute = Find(device, e.name);
        ASSERT_NE(attribute, nullptr);
        EXPECT_EQ(attribute->kind, e.kind);
        EXPECT_EQ(attribute->values.front(), e.value);
    }
    EXPECT_EQ(Find(device, "vidX")->values.size(), 2u);
    EXPECT_EQ(Find(device, "vidInput2MediaName"), nullptr);
    EXPECT_EQ(Find(device, "vidInput1MediaType"), nullptr);
    EXPECT_FALSE(device.hasMessage[0]);
    EXPECT_TRUE(device.hasMessage[1]);
    EXPECT_EQ(device.messages[1], "Jam");

    ASSERT_TRUE(LoadDescription(With(R"("devices": [{"name": "NoTrays"}])"), d, error));
    EXPECT_EQ(Find(d.devices[0], "vidInputNumOfTrays"), nullptr);
}

TEST(Description, RefusesMalformedOrInconsistentFiles) {
    Description d;
    std::string error;
    const char* bad[] = {
        R"("sever": 1)", // unknown member
        R"("jobs": -1)",
        R"("devices": [{"name": ""}])",
        R"("devices": [{"name": "P", "trays": [{"name": "T"}]}])",
        R"("devices": [{"name": "P", "messages": ["one"]}])",
        R"("devices": [{"name": "P", "colour_defaults": [{"key": "*K", "values": [1]}]}])",
        R"("devices": [{"name": "P", "device_links": [{"source": "a", "destination": "b", "name": "n", "intents": 0}]}])",
        R"("strings": {"fr_FR": {"": {"k": "v"}}})", // not a listed locale
        R"("strings": {"en_US": {"": {"": "v"}}})",  // empty key
        R"("features": [{"name": "P", "value": 1}])",
        R"("attributes": {"vidX": {"kind": "float", "values": ["1"]}})",
        R"("attributes": {"vidX": {"kind": "text", "values": []}})",
    };
    for (const char* members : bad) {
        SCOPED_TRACE(members);
        EXPECT_FALSE(LoadDescription(With(members), d, error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(LoadDescription(R"({"server": {"name": "CS"}})", d, error));
    EXPECT_FALSE(LoadDescription(R"({"server": {"name": "CS"},
        "locales": {"default": "de_DE", "list": ["en_US"]},
        "encodings": {"default": "UTF-8", "list": ["UTF-8"]}})",
                                 d, error));
    EXPECT_NE(error.find("locales"), std::string::npos);
    EXPECT_FALSE(LoadDescription("[]", d, error));
}

TEST(Description, TheExampleServerLoads) {
    std::ifstream file(std::string(PIGMENTOR_SOURCE_DIR) + "/examples/tovrane-server.json");
    std::stringstream text;
    text << file.rdbuf();
    Description d;
    std::string error;
    ASSERT_TRUE(LoadDescription(text.str(), d, error)) << error;
    // What it holds the client tests read back through the server.
    EXPECT_EQ(d.serverName, "Tovrane CS-50");
    EXPECT_EQ(d.devices.size(), 2u);
}
