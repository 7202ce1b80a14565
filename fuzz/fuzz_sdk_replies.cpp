//===- fuzz_sdk_replies.cpp - Fuzzes the SDK's reply decoding -------------===//
//
// The input is a reply body. Every decoder reads it (each accepts a different shape, and
// all must survive any bytes); what decodes is turned into the blocks the SDK hands to its
// callers and converted into the encodings sessions use. The same bytes are also read as a
// whole HTTP reply (head and body) by the transport's bounded reader, arriving in two parts
// split where the first byte says, and a body it completes is decoded too. The decoders'
// fast JSON event reader must accept, refuse and report exactly as the JSON library's own
// strict event parser does, and the streamed colour defaults must equal those read from the
// whole document: any difference aborts.
//
//===----------------------------------------------------------------------===//
#include <CBlocks.h>
#include <HttpMessage.h>
#include <JsonEventLog.h>
#include <JsonEvents.h>
#include <JsonRead.h>
#include <Protocol.h>
#include <ReplyDecoder.h>
#include <TextEncoding.h>

#include "DocumentDecoders.h"

#include <cstdio>
#include <cstdlib>

using namespace tovrane::client;

// The library's allocator lives with its handle tables; the blocks only need these two.
extern "C" void* tovrane_malloc(size_t size) {
    return size == 0 ? nullptr : std::calloc(1, size);
}
extern "C" void tovrane_free(void* block) {
    std::free(block);
}

namespace {

using documentdecoders::ColourDefaultsFromDocument;
using documentdecoders::DeviceLinksFromDocument;
using documentdecoders::FeaturesFromDocument;
using documentdecoders::ProfilesFromDocument;
using documentdecoders::StringsFromDocument;

void Convert(const std::string& text) {
    std::string out;
    ConvertFromUtf8(text, "UTF-8", out);
    ConvertFromUtf8(text, "ISO-8859-1", out);
    ConvertFromUtf8(text, "SHIFT_JIS", out);
    ToMacRoman(text);
}

/// The event reader against the library's parser, also when the receiver stops at the
/// first byte's event number.
void CompareEventReaders(std::string_view input) {
    size_t stopAt = input.empty() ? 0 : static_cast<unsigned char>(input[0]) % 8;
    std::string expected, got;
    tovrane::JsonEventLog library(expected, stopAt), fast(got, stopAt);
    bool libraryAccepted = nlohmann::json::sax_parse(input.begin(), input.end(), &library,
                                                     nlohmann::json::input_format_t::json, true);
    bool fastAccepted = tovrane::ParseJsonEvents(input, fast);
    if (libraryAccepted != fastAccepted || expected != got) {
        std::fprintf(stderr, "JSON readers differ: library %d, fast %d\n--- library\n%s--- fast\n%s",
                     libraryAccepted, fastAccepted, expected.c_str(), got.c_str());
        std::abort();
    }
}

void CompareColourDefaults(std::string_view body) {
    ColourDefaultList streamed, whole;
    t10_status got = DecodeColourDefaults(body, streamed);
    t10_status expected = ColourDefaultsFromDocument(body, whole);
    bool same = got == expected && streamed.size() == whole.size();
    for (size_t i = 0; same && i < whole.size(); ++i)
        same = streamed[i].key == whole[i].key && streamed[i].hasDefault == whole[i].hasDefault &&
               streamed[i].defaultValue == whole[i].defaultValue &&
               streamed[i].values == whole[i].values;
    if (!same) {
        std::fprintf(stderr, "colour defaults differ: streamed %d (%zu keys), document %d (%zu)\n",
                     got, streamed.size(), expected, whole.size());
        std::abort();
    }
}

void CompareProfilesAndLinks(std::string_view body) {
    std::vector<ProfileEntry> profiles, wholeProfiles;
    t10_status got = DecodeProfiles(body, profiles);
    t10_status expected = ProfilesFromDocument(body, wholeProfiles);
    bool same = got == expected && profiles.size() == wholeProfiles.size();
    for (size_t i = 0; same && i < profiles.size(); ++i)
        same = profiles[i].id == wholeProfiles[i].id &&
               profiles[i].descriptions == wholeProfiles[i].descriptions;
    std::vector<DeviceLinkEntry> links, wholeLinks;
    t10_status gotLinks = DecodeDeviceLinks(body, links);
    t10_status expectedLinks = DeviceLinksFromDocument(body, wholeLinks);
    same = same && gotLinks == expectedLinks && links.size() == wholeLinks.size();
    for (size_t i = 0; same && i < links.size(); ++i)
        same = links[i].source == wholeLinks[i].source &&
               links[i].destination == wholeLinks[i].destination &&
               links[i].name == wholeLinks[i].name && links[i].intents == wholeLinks[i].intents;
    if (!same) {
        std::fprintf(stderr, "profiles or links differ: streamed %d/%d, document %d/%d\n", got,
                     gotLinks, expected, expectedLinks);
        std::abort();
    }
}

void CompareFeaturesAndStrings(std::string_view body) {
    std::vector<Feature> features, wholeFeatures;
    t10_status got = DecodeFeatures(body, features);
    t10_status expected = FeaturesFromDocument(body, wholeFeatures);
    bool same = got == expected && features.size() == wholeFeatures.size();
    for (size_t i = 0; same && i < features.size(); ++i)
        same = features[i].name == wholeFeatures[i].name &&
               features[i].value == wholeFeatures[i].value;
    std::vector<LocalisedString> strings, wholeStrings;
    t10_status gotStrings = DecodeStrings(body, strings);
    t10_status expectedStrings = StringsFromDocument(body, wholeStrings);
    same = same && gotStrings == expectedStrings && strings.size() == wholeStrings.size();
    for (size_t i = 0; same && i < strings.size(); ++i)
        same = strings[i].context == wholeStrings[i].context &&
               strings[i].key == wholeStrings[i].key && strings[i].text == wholeStrings[i].text;
    if (!same) {
        std::fprintf(stderr, "features or strings differ: streamed %d/%d, document %d/%d\n", got,
                     gotStrings, expected, expectedStrings);
        std::abort();
    }
}

void CompareRootReplies(std::string_view body) {
    std::string streamed = documentdecoders::RootRepliesFromDecoders(body);
    std::string whole = documentdecoders::RootRepliesFromDocument(body);
    if (streamed != whole) {
        std::fprintf(stderr, "root replies differ:\n--- streamed\n%s\n--- document\n%s\n",
                     streamed.c_str(), whole.c_str());
        std::abort();
    }
}

/// The input as an HTTP reply; the body when it completes.
void ReadAsHttp(std::string_view input) {
    tovrane::HttpMessage reply(tovrane::HttpMessage::Kind::Reply, tovrane::protocol::kMaxReplyBytes);
    size_t split = input.empty() ? 0 : static_cast<unsigned char>(input[0]) % (input.size() + 1);
    if (reply.Feed(input.data(), split) == tovrane::HttpMessage::Result::Ok)
        reply.Feed(input.data() + split, input.size() - split);
    reply.End();
    if (reply.Done()) {
        std::vector<ProfileEntry> profiles;
        DecodeProfiles(reply.Body(), profiles);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view body(reinterpret_cast<const char*>(data), size);
    CompareEventReaders(body);
    ReadAsHttp(body);
    DecodeStatus(body);
    HelloReply hello;
    DecodeHello(body, hello);
    SessionReply session;
    if (DecodeSession(body, session) == T10_OK)
        IconvNameFor(session.encoding);

    std::vector<Feature> features;
    if (DecodeFeatures(body, features) == T10_OK)
        for (const Feature& feature : features)
            tovrane_free(MakeString(feature.value));
    std::vector<std::string> names;
    if (DecodeDevices(body, names) == T10_OK)
        tovrane_free(MakeStringArray(names));
    std::vector<AttributeValue> values;
    DecodeAttributeValues(body, values);
    std::vector<AttributeEntry> entries;
    DecodeAttributeKeys(body, entries);
    std::vector<int32_t> scopes;
    if (DecodeScopes(body, scopes) == T10_OK)
        tovrane_free(MakeIntArray(scopes));
    std::vector<Tray> trays;
    if (DecodeTrays(body, trays) == T10_OK)
        tovrane_free(MakeTrayRecords(trays));
    Messages messages;
    DecodeMessages(body, messages);
    int32_t count;
    DecodeJobCount(body, count);
    NamedList list;
    if (DecodeNamedList(body, "locales", list) == T10_OK)
        tovrane_free(MakeStringArray(list.names));
    DecodeNamedList(body, "encodings", list);
    std::string text;
    if (DecodeText(body, text) == T10_OK)
        Convert(text);
    std::vector<LocalisedString> strings;
    if (DecodeStrings(body, strings) == T10_OK)
        for (const LocalisedString& entry : strings)
            Convert(entry.text);
    CompareColourDefaults(body);
    bool present;
    DecodeOptionalName(body, "id", present, text);
    DecodeOptionalName(body, "name", present, text);
    CompareProfilesAndLinks(body);
    CompareFeaturesAndStrings(body);
    CompareRootReplies(body);
    return 0;
}
