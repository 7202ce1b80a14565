// The text converter's hex decoding and conversions from arbitrary bytes, in every PPD
// encoding: the decoded text never outgrows its input, and nothing reads past it.
#include "TextConverter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    std::vector<char> out(text.size());
    long written = TextConverter::DehexBufferFill(text.data(), out.data());
    if (written > static_cast<long>(text.size()))
        std::abort();

    static const unsigned long kEncodings[] = {
        kTextEncodingMacRoman,  kTextEncodingISOLatin1, kTextEncodingISOLatin2,
        kTextEncodingISOLatin5, kTextEncodingWindowsLatin1, kTextEncodingShiftJIS,
        TextConverter::kUnknownEncoding};
    for (unsigned long encoding : kEncodings) {
        unsigned long source = encoding;
        TextConverter converter(source, kTextEncodingMacRoman);
        if (CFStringRef s = converter.ConvertToCFString(text.data(), 0))
            CFRelease(s);
        std::vector<char> inPlace(text);
        converter.Convert(inPlace.data(), static_cast<long>(inPlace.size()));
    }
    return 0;
}
