//===- fuzz_sdk_replies.cpp - Fuzzes the SDK's reply decoding -------------===//
//
// The input is a reply body. Every decoder reads it (each accepts a different shape, and
// all must survive any bytes); what decodes is turned into the blocks the SDK hands to its
// callers and converted into the encodings sessions use. The same bytes are also read as a
// whole HTTP reply (head and body) by the transport's bounded reader, arriving in two parts
// split where the first byte says, and a body it completes is decoded too.
//
//===----------------------------------------------------------------------===//
#include <CBlocks.h>
#include <HttpMessage.h>
#include <Protocol.h>
#include <ReplyDecoder.h>
#include <TextEncoding.h>

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

void Convert(const std::string& text) {
    std::string out;
    ConvertFromUtf8(text, "UTF-8", out);
    ConvertFromUtf8(text, "ISO-8859-1", out);
    ConvertFromUtf8(text, "SHIFT_JIS", out);
    ToMacRoman(text);
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
    std::vector<ColourDefault> keys;
    DecodeColourDefaults(body, keys);
    bool present;
    DecodeOptionalName(body, "id", present, text);
    DecodeOptionalName(body, "name", present, text);
    std::vector<ProfileEntry> profiles;
    DecodeProfiles(body, profiles);
    std::vector<DeviceLinkEntry> links;
    DecodeDeviceLinks(body, links);
    return 0;
}
