#include <CarbonCore/TextEncodingConverter.h>

#include <CoreFoundation/PMIconvCache.h>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <mutex>
#include <new>
#include <unordered_set>

namespace {

// Longest character of any supported encoding (UTF-8 and UTF-16 pairs take 4), with room to
// spare; also the most input handed to iconv per character, which keeps each step O(1).
constexpr size_t kMaxCharBytes = 8;
// Longest single character of any supported output encoding.
constexpr size_t kMaxOutputCharBytes = 8;
// Characters decoded per run before they are encoded in one go.
constexpr size_t kRunUnits = 256;

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr const char* kUTF16Machine = "UTF-16BE";
constexpr const char* kUTF32Machine = "UTF-32BE";
#else
constexpr const char* kUTF16Machine = "UTF-16LE";
constexpr const char* kUTF32Machine = "UTF-32LE";
#endif

struct EncodingInfo {
    const char* iconvName;
    size_t codeUnit; // smallest output that can hold anything at all
};

bool lookupEncoding(TextEncoding encoding, EncodingInfo* info) {
    TextEncodingBase base = GetTextEncodingBase(encoding);
    TextEncodingVariant variant = GetTextEncodingVariant(encoding);
    TextEncodingFormat format = GetTextEncodingFormat(encoding);
    if (variant != kTextEncodingDefaultVariant)
        return false;
    if (base == kTextEncodingUnicodeDefault) {
        switch (format) {
        case kUnicode16BitFormat:
            *info = {kUTF16Machine, 2};
            return true;
        case kUnicodeUTF8Format:
            *info = {"UTF-8", 1};
            return true;
        case kUnicode32BitFormat:
            *info = {kUTF32Machine, 4};
            return true;
        default:
            return false;
        }
    }
    if (format != kTextEncodingDefaultFormat)
        return false;
    switch (base) {
    case kTextEncodingMacRoman:
        *info = {"MACINTOSH", 1};
        return true;
    case kTextEncodingISOLatin1:
        *info = {"ISO-8859-1", 1};
        return true;
    case kTextEncodingISOLatin2:
        *info = {"ISO-8859-2", 1};
        return true;
    case kTextEncodingISOLatin5:
        *info = {"ISO-8859-9", 1};
        return true;
    case kTextEncodingWindowsLatin1:
        *info = {"CP1252", 1};
        return true;
    case kTextEncodingShiftJIS:
        *info = {"SHIFT_JIS", 1};
        return true;
    default:
        return false;
    }
}

} // namespace

// Two iconv steps through UTF-32 rather than one: that is the only way to tell input that is
// malformed (the decoder fails) from a character the target lacks (the encoder fails), and to
// know exactly which input bytes produced which output. The descriptors are not kept in the
// converter but taken from the calling thread's cache on each call: a converter may move
// between threads, and making one is then cheap.
struct OpaqueTECObjectRef {
    const char* fromName = nullptr;
    const char* toName = nullptr;
    size_t outputCodeUnit = 1;
    UInt8 pending[kMaxCharBytes] = {};
    size_t pendingLength = 0;
};

namespace {

std::mutex gConvertersMutex;
std::unordered_set<TECObjectRef>& liveConverters() {
    static auto* set = new std::unordered_set<TECObjectRef>; // outlives static destructors
    return *set;
}

bool isLive(TECObjectRef converter) {
    std::lock_guard<std::mutex> lock(gConvertersMutex);
    return converter != nullptr && liveConverters().count(converter) != 0;
}

enum class Decoded { Char, Nothing, Incomplete, Malformed };

// The calling thread's descriptors for one converter.
struct Steps {
    iconv_t decoder;
    iconv_t encoder;
};

bool acquireSteps(TECObjectRef c, Steps* steps) {
    steps->decoder = pmcf::IconvAcquire(kUTF32Machine, c->fromName);
    steps->encoder = pmcf::IconvAcquire(c->toName, kUTF32Machine);
    return steps->decoder != iconv_t(-1) && steps->encoder != iconv_t(-1);
}

// Decodes the first character of bytes[0, length) into one UTF-32 unit.
Decoded decodeOne(const Steps& c, const UInt8* bytes, size_t length, UInt8 (&unit)[4],
                  size_t* used) {
    size_t offered = length < kMaxCharBytes ? length : kMaxCharBytes;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    size_t inLeft = offered;
    char* out = reinterpret_cast<char*>(unit);
    size_t outLeft = sizeof unit;
    iconv(c.decoder, nullptr, nullptr, nullptr, nullptr);
    size_t rc = iconv(c.decoder, &in, &inLeft, &out, &outLeft);
    int err = errno;
    *used = offered - inLeft;
    if (outLeft == 0)
        return Decoded::Char; // whatever stopped iconv came after the first character
    if (rc != size_t(-1))
        return *used > 0 ? Decoded::Nothing : Decoded::Malformed;
    // Only a cut-off character at the true end of the input is incomplete; one that does not
    // fit in kMaxCharBytes is not a character of any supported encoding.
    if (err == EINVAL && offered == length)
        return Decoded::Incomplete;
    return Decoded::Malformed;
}

// Encodes one UTF-32 unit; false if the target encoding has no such character.
bool encodeOne(const Steps& c, const UInt8 (&unit)[4], UInt8 (&bytes)[kMaxOutputCharBytes],
               size_t* produced) {
    char* in = const_cast<char*>(reinterpret_cast<const char*>(unit));
    size_t inLeft = sizeof unit;
    char* out = reinterpret_cast<char*>(bytes);
    size_t outLeft = sizeof bytes;
    iconv(c.encoder, nullptr, nullptr, nullptr, nullptr);
    if (iconv(c.encoder, &in, &inLeft, &out, &outLeft) == size_t(-1) || inLeft != 0)
        return false;
    *produced = sizeof bytes - outLeft;
    return true;
}

// Where one conversion call stands; `out` is written only up to `outLength`.
struct Cursor {
    TextPtr out;
    ByteCount outLength;
    ByteCount outPos = 0;
};

// Encodes `unit` into the output; noErr, kTECOutputBufferFullStatus or an unmappable error.
OSStatus emit(const Steps& c, const UInt8 (&unit)[4], Cursor& cursor) {
    UInt8 bytes[kMaxOutputCharBytes];
    size_t produced = 0;
    if (!encodeOne(c, unit, bytes, &produced))
        return kTECUnmappableElementErr;
    if (produced > cursor.outLength - cursor.outPos)
        return kTECOutputBufferFullStatus;
    std::memcpy(cursor.out + cursor.outPos, bytes, produced);
    cursor.outPos += produced;
    return noErr;
}

// Completes the character left over from the previous call with the first input bytes.
// Sets *consumed to the input bytes that went into it.
OSStatus finishPending(TECObjectRef c, const Steps& steps, ConstTextPtr input,
                       ByteCount inputLength, Cursor& cursor, ByteCount* consumed) {
    *consumed = 0;
    UInt8 joined[2 * kMaxCharBytes];
    size_t take = sizeof joined - c->pendingLength;
    if (take > inputLength)
        take = inputLength;
    std::memcpy(joined, c->pending, c->pendingLength);
    if (take > 0)
        std::memcpy(joined + c->pendingLength, input, take);
    size_t joinedLength = c->pendingLength + take;

    UInt8 unit[4];
    size_t used = 0;
    Decoded d = decodeOne(steps, joined, joinedLength, unit, &used);
    switch (d) {
    case Decoded::Incomplete:
        // Still cut off: everything so far waits for the next call.
        std::memcpy(c->pending, joined, joinedLength);
        c->pendingLength = joinedLength;
        *consumed = take;
        return noErr;
    case Decoded::Malformed:
        // The kept bytes belong to the bad sequence; keeping them would fail every later call.
        c->pendingLength = 0;
        return kTextMalformedInputErr;
    case Decoded::Nothing:
    case Decoded::Char:
        break;
    }
    if (used <= c->pendingLength) {
        c->pendingLength = 0;
        return kTextMalformedInputErr;
    }
    if (d == Decoded::Char) {
        OSStatus status = emit(steps, unit, cursor);
        if (status == kTECUnmappableElementErr)
            c->pendingLength = 0;
        if (status != noErr)
            return status;
    }
    *consumed = used - c->pendingLength;
    c->pendingLength = 0;
    return noErr;
}

// Converts the character at *inPos on its own; the reference behaviour that runs must match.
OSStatus convertOne(TECObjectRef c, const Steps& steps, ConstTextPtr input, ByteCount inputLength,
                    ByteCount* inPos, Cursor& cursor) {
    UInt8 unit[4];
    size_t used = 0;
    size_t left = inputLength - *inPos;
    Decoded d = decodeOne(steps, input + *inPos, left, unit, &used);
    if (d == Decoded::Incomplete) {
        std::memcpy(c->pending, input + *inPos, left);
        c->pendingLength = left;
        *inPos = inputLength;
        return noErr;
    }
    if (d == Decoded::Malformed)
        return kTextMalformedInputErr;
    OSStatus status = d == Decoded::Nothing ? noErr : emit(steps, unit, cursor);
    if (status == noErr)
        *inPos += used;
    return status;
}

enum class Run { Done, Stopped, Refused };

// Decodes up to kRunUnits characters from *inPos and encodes them in one go. Done: all of
// them went out and *inPos moved past them (the decoder may have stopped early at bad or
// cut-off input, which the next step meets). Stopped: the decoder could not take a single
// character. Refused: the encoder stopped early (output full, or a character the target lacks);
// nothing is committed, though the output bytes up to that point were already written exactly
// as one character at a time writes them, so the run can be redone that way.
Run convertRun(const Steps& steps, ConstTextPtr input, ByteCount inputLength, ByteCount* inPos,
               Cursor& cursor, ByteCount* runLength) {
    uint32_t units[kRunUnits];
    char* in = const_cast<char*>(reinterpret_cast<const char*>(input + *inPos));
    size_t inLeft = inputLength - *inPos;
    char* mid = reinterpret_cast<char*>(units);
    size_t midLeft = sizeof units;
    iconv(steps.decoder, nullptr, nullptr, nullptr, nullptr);
    iconv(steps.decoder, &in, &inLeft, &mid, &midLeft);
    ByteCount consumed = (inputLength - *inPos) - inLeft;
    *runLength = consumed;
    if (consumed == 0)
        return Run::Stopped;
    char* unitsIn = reinterpret_cast<char*>(units);
    size_t unitsLeft = sizeof units - midLeft;
    char* out = reinterpret_cast<char*>(cursor.out + cursor.outPos);
    size_t outLeft = cursor.outLength - cursor.outPos;
    iconv(steps.encoder, nullptr, nullptr, nullptr, nullptr);
    if (unitsLeft > 0 &&
        (iconv(steps.encoder, &unitsIn, &unitsLeft, &out, &outLeft) == size_t(-1) ||
         unitsLeft != 0))
        return Run::Refused;
    cursor.outPos = cursor.outLength - outLeft;
    *inPos += consumed;
    return Run::Done;
}

// The common case in one iconv call straight from the source to the target encoding: glibc
// goes through the same Unicode characters either way, so a conversion that takes all the
// input without any complaint gives exactly the bytes of the two steps. Anything else (bad,
// cut-off or unmappable input, a full buffer) is left to them: what this wrote up to where it
// stopped is what they write too.
bool convertDirect(TECObjectRef c, ConstTextPtr input, ByteCount inputLength, Cursor& cursor) {
    iconv_t direct = pmcf::IconvAcquire(c->toName, c->fromName);
    if (direct == iconv_t(-1))
        return false;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(input));
    size_t inLeft = inputLength;
    char* out = reinterpret_cast<char*>(cursor.out);
    size_t outLeft = cursor.outLength;
    if (iconv(direct, &in, &inLeft, &out, &outLeft) != 0 || inLeft != 0)
        return false;
    cursor.outPos = cursor.outLength - outLeft;
    return true;
}

} // namespace

extern "C" {

OSStatus TECCreateConverter(TECObjectRef* newEncodingConverter, TextEncoding inputEncoding,
                            TextEncoding outputEncoding) {
    if (newEncodingConverter == nullptr)
        return paramErr;
    *newEncodingConverter = nullptr;
    EncodingInfo from, to;
    if (!lookupEncoding(inputEncoding, &from) || !lookupEncoding(outputEncoding, &to))
        return kTextUnsupportedEncodingErr;
    auto* c = new (std::nothrow) OpaqueTECObjectRef;
    if (c == nullptr)
        return memFullErr;
    c->fromName = from.iconvName;
    c->toName = to.iconvName;
    c->outputCodeUnit = to.codeUnit;
    Steps steps;
    if (!acquireSteps(c, &steps)) {
        OSStatus status = errno == ENOMEM ? OSStatus(memFullErr) : kTextUnsupportedEncodingErr;
        delete c;
        return status;
    }
    {
        std::lock_guard<std::mutex> lock(gConvertersMutex);
        liveConverters().insert(c);
    }
    *newEncodingConverter = c;
    return noErr;
}

OSStatus TECConvertText(TECObjectRef encodingConverter, ConstTextPtr inputBuffer,
                        ByteCount inputBufferLength, ByteCount* actualInputLength,
                        TextPtr outputBuffer, ByteCount outputBufferLength,
                        ByteCount* actualOutputLength) {
    if (!isLive(encodingConverter))
        return kTECCorruptConverterErr;
    if (actualInputLength == nullptr || actualOutputLength == nullptr)
        return paramErr;
    *actualInputLength = 0;
    *actualOutputLength = 0;
    if ((inputBuffer == nullptr && inputBufferLength > 0) ||
        (outputBuffer == nullptr && outputBufferLength > 0))
        return paramErr;
    TECObjectRef c = encodingConverter;
    if (inputBufferLength > 0 && outputBufferLength < c->outputCodeUnit)
        return kTECBufferBelowMinimumSizeErr;

    Cursor cursor{outputBuffer, outputBufferLength};
    if (c->pendingLength == 0 && convertDirect(c, inputBuffer, inputBufferLength, cursor)) {
        *actualInputLength = inputBufferLength;
        *actualOutputLength = cursor.outPos;
        return noErr;
    }

    Steps steps;
    if (!acquireSteps(c, &steps))
        return errno == ENOMEM ? OSStatus(memFullErr) : kTextUnsupportedEncodingErr;
    ByteCount inPos = 0;
    OSStatus status = noErr;
    if (c->pendingLength > 0 && inputBufferLength > 0)
        status = finishPending(c, steps, inputBuffer, inputBufferLength, cursor, &inPos);

    // Whole runs while they go through; one character at a time at bad or cut-off input and
    // wherever a run was refused, so that statuses and lengths are exactly those of that mode.
    while (status == noErr && inPos < inputBufferLength) {
        ByteCount runLength = 0;
        Run run = convertRun(steps, inputBuffer, inputBufferLength, &inPos, cursor, &runLength);
        if (run == Run::Done)
            continue;
        if (run == Run::Stopped) {
            status = convertOne(c, steps, inputBuffer, inputBufferLength, &inPos, cursor);
            continue;
        }
        const ByteCount runEnd = inPos + runLength;
        while (status == noErr && inPos < runEnd)
            status = convertOne(c, steps, inputBuffer, inputBufferLength, &inPos, cursor);
    }
    *actualInputLength = inPos;
    *actualOutputLength = cursor.outPos;
    return status;
}

OSStatus TECFlushText(TECObjectRef encodingConverter, TextPtr /*outputBuffer*/,
                      ByteCount /*outputBufferLength*/, ByteCount* actualOutputLength) {
    if (!isLive(encodingConverter))
        return kTECCorruptConverterErr;
    if (actualOutputLength == nullptr)
        return paramErr;
    *actualOutputLength = 0;
    if (encodingConverter->pendingLength == 0)
        return noErr;
    encodingConverter->pendingLength = 0;
    return kTECPartialCharErr;
}

OSStatus TECClearConverterContextInfo(TECObjectRef encodingConverter) {
    if (!isLive(encodingConverter))
        return kTECCorruptConverterErr;
    encodingConverter->pendingLength = 0;
    return noErr;
}

OSStatus TECDisposeConverter(TECObjectRef newEncodingConverter) {
    {
        std::lock_guard<std::mutex> lock(gConvertersMutex);
        if (newEncodingConverter == nullptr || liveConverters().erase(newEncodingConverter) == 0)
            return kTECCorruptConverterErr;
    }
    delete newEncodingConverter;
    return noErr;
}

} // extern "C"
