//===- CFStringIconv.cpp - Legacy encodings through iconv -----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/PMIconvCache.h>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace pmcf {

namespace {

// UTF-16 in host order, so that string units can be handed to iconv as they are.
constexpr const char* kUTF16Host = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? "UTF-16BE" : "UTF-16LE";

// The calling thread's cached descriptor for one direction; it stays open for later calls.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(IconvAcquire(to, from)) {}

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    size_t operator()(char** in, size_t* inLeft, char** out, size_t* outLeft) {
        return iconv(cd_, in, inLeft, out, outLeft);
    }

private:
    iconv_t cd_;
};

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

bool IconvAvailable(const char* name) {
    return Converter(kUTF16Host, name).valid() && Converter(name, kUTF16Host).valid();
}

bool IconvDecode(const char* name, const UInt8* bytes, size_t size, std::u16string& out) {
    Converter convert(kUTF16Host, name);
    if (!convert.valid())
        return false;
    // iconv's prototype is not const-correct; it only reads the input.
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    size_t inLeft = size;
    char chunk[4096];
    auto append = [&](size_t produced) {
        size_t at = out.size();
        out.resize(at + produced / 2);
        std::memcpy(&out[at], chunk, produced / 2 * 2);
    };
    while (inLeft > 0) {
        char* outPtr = chunk;
        size_t outLeft = sizeof chunk;
        size_t status = convert(&in, &inLeft, &outPtr, &outLeft);
        append(sizeof chunk - outLeft);
        // Invalid (EILSEQ) or truncated (EINVAL) input fails the whole decoding.
        if (status == static_cast<size_t>(-1) && errno != E2BIG)
            return false;
    }
    // Flush a stateful encoding's pending output.
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    if (convert(nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    append(sizeof chunk - outLeft);
    return true;
}

EncodeResult IconvEncode(const char* name, std::u16string_view units, UInt8 lossByte, UInt8* buffer,
                         CFIndex capacity) {
    EncodeResult result;
    Converter convert(name, kUTF16Host);
    if (!convert.valid())
        return result;
    char* const start = const_cast<char*>(reinterpret_cast<const char*>(units.data()));
    char* in = start;
    size_t inLeft = units.size() * 2;
    char scratch[4096];
    while (inLeft > 0) {
        char* out = buffer ? reinterpret_cast<char*>(buffer) + result.bytes : scratch;
        size_t room = buffer ? static_cast<size_t>(capacity - result.bytes) : sizeof scratch;
        size_t outLeft = room;
        size_t status = convert(&in, &inLeft, &out, &outLeft);
        result.bytes += static_cast<CFIndex>(room - outLeft);
        if (status != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            if (buffer)
                break; // the caller's buffer is full; iconv stopped at a character boundary
            continue;
        }
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // An unconvertible character (or an unpaired surrogate): substitute or stop.
        if (lossByte == 0 || (buffer && result.bytes >= capacity))
            break;
        if (buffer)
            buffer[result.bytes] = lossByte;
        result.bytes += 1;
        size_t at = static_cast<size_t>(in - start) / 2;
        size_t skip = IsHigh(units[at]) && at + 1 < units.size() && IsLow(units[at + 1]) ? 2 : 1;
        in += skip * 2;
        inLeft -= skip * 2;
    }
    result.units = static_cast<CFIndex>((in - start) / 2);
    return result;
}

} // namespace pmcf
