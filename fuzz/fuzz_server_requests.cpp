//===- fuzz_server_requests.cpp - Fuzzes tovrane-server's request decoding -===//
//
// The input is "<endpoint>\n<body>", the endpoint being what the request path names. A
// body that decodes is answered from a small description, as the server would. The
// endpoint "description" feeds the body to the description loader instead; "http" reads
// the body as raw bytes from a client (in two parts, split where its first byte says) with
// the server's bounded request reader, then routes and answers a request that completes.
//
//===----------------------------------------------------------------------===//
#include <Description.h>
#include <HttpMessage.h>
#include <RequestDecoder.h>
#include <Service.h>

#include <cstdlib>

using namespace tovrane::server;

namespace {

const char* kDescription = R"({
  "server": {"name": "CS"},
  "attributes": {"vidServerModel": "CS", "vidUptime": 5},
  "features": [{"name": "Pigmentor", "value": "1"}],
  "jobs": 1,
  "locales": {"default": "en_US", "list": ["en_US", "de_DE"]},
  "encodings": {"default": "UTF-8", "list": ["UTF-8", "MacRoman"]},
  "strings": {"de_DE": {"": {"*QVSimSpeed": "Methode"}, "*QVSimSpeed": {"FAST": "Schnell"}}},
  "devices": [{
    "name": "P",
    "trays": [{"name": "T1", "max_capacity": 10, "level": 12, "media": ["Plain"]}],
    "colorants": [{"name": "Cyan", "capacity": 100, "level": 5}],
    "messages": ["Ready", null],
    "colour_defaults": [{"key": "*QVSimSpeed", "default": "FAST", "values": ["FAST", "BETR"]}],
    "profiles": [{"id": "P1", "descriptions": ["SRGB"]}],
    "device_links": [{"source": "P1", "destination": "P2", "name": "L", "intents": 3}]
  }]
})";

const Description& Sample() {
    static Description* description = [] {
        auto* d = new Description;
        std::string error;
        if (!LoadDescription(kDescription, *d, error))
            std::abort(); // the fuzzer's own description must load
        return d;
    }();
    return *description;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t newline = input.find('\n');
    std::string_view name = input.substr(0, newline);
    std::string_view body = newline == std::string_view::npos ? "" : input.substr(newline + 1);
    if (name == "description") {
        Description description;
        std::string error;
        LoadDescription(body, description, error);
        return 0;
    }
    // The message outlives the if: the name and body below are views into it.
    tovrane::HttpMessage message(tovrane::HttpMessage::Kind::Request,
                                 tovrane::protocol::kMaxRequestBytes);
    if (name == "http") {
        size_t split = body.empty() ? 0 : static_cast<unsigned char>(body[0]) % (body.size() + 1);
        if (message.Feed(body.data(), split) == tovrane::HttpMessage::Result::Ok)
            message.Feed(body.data() + split, body.size() - split);
        if (!message.Done() || message.Path().compare(0, 4, "/v1/") != 0)
            return 0;
        name = std::string_view(message.Path()).substr(4);
        body = message.Body();
    }
    tovrane::protocol::Endpoint endpoint;
    if (!tovrane::protocol::EndpointFromName(name, endpoint))
        return 0;
    Request request;
    if (DecodeRequest(endpoint, body, request) == 0)
        Answer(Sample(), request);
    return 0;
}
