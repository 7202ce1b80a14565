//===- TextConverter.cpp - PPD text to Unicode strings --------------------===//
#include "TextConverter.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const HexLanguageExceptions TextConverter::mExceptionsList;

namespace {

const char kOutOfMemory[] = "Out Of Memory";
const char kTranslationError[] = "Translation Error";
/// The smallest output block convertText works with.
const Size kMinimumOutputSize = 32;
/// Text up to a line's length is converted in stack buffers of this many elements.
const size_t kLocalTextSize = 256;

bool isHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool isHexGroupBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

/// Stops the process on a broken internal invariant, the way the platform's assertions do.
void checkInvariant(bool holds, const char* expression, unsigned line) {
    if (!holds) {
        std::fprintf(stderr, "%s:%u: failed assertion `%s'\n", __FILE__, line, expression);
        std::abort();
    }
}

CFStringRef newEmptyString() {
    return CFStringCreateWithCString(kCFAllocatorDefault, "", kCFStringEncodingMacRoman);
}

} // namespace

TextConverter::TextConverter(unsigned long& sourceEncoding, const unsigned long& outputEncoding) {
    Init(sourceEncoding, nullptr, outputEncoding);
}

void TextConverter::Init(unsigned long sourceEncoding, const char* language,
                         unsigned long outputEncoding) {
    mSourceEncoding = sourceEncoding;
    if (mSourceEncoding == kUnknownEncoding)
        return;
    if (language)
        mLanguage = language;
    mOutputEncoding = outputEncoding;
    if (mOutputEncoding == kUnknownEncoding)
        return;
    Create();
}

TextConverter::~TextConverter() {
    DisposeConverter();
    if (mToUnicode)
        TECDisposeConverter(mToUnicode);
}

void TextConverter::DisposeConverter() {
    if (mConverter) {
        TECClearConverterContextInfo(mConverter);
        TECDisposeConverter(mConverter);
        mConverter = nullptr;
    }
    mValid = false;
}

OSStatus TextConverter::Create() {
    mStatus = TECCreateConverter(&mConverter, static_cast<TextEncoding>(mSourceEncoding),
                                 static_cast<TextEncoding>(mOutputEncoding));
    mValid = mStatus == noErr;
    if (!mValid)
        mConverter = nullptr;
    return mStatus;
}

unsigned long TextConverter::GetCurrentEncoding() {
    TextEncoding encoding = kTextEncodingUnknown;
    if (UpgradeScriptInfoToTextEncoding(smSystemScript, kTextLanguageDontCare, kTextRegionDontCare,
                                        nullptr, &encoding) != noErr)
        return kUnknownEncoding;
    return encoding;
}

unsigned long TextConverter::LanguageStringToEncoding(const char* name) {
    if (!name)
        return kUnknownEncoding;
    static const struct {
        const char* name;
        unsigned long encoding;
    } kNamed[] = {
        {"ISOLatin1", kTextEncodingISOLatin1},   {"ISOLatin2", kTextEncodingISOLatin2},
        {"ISOLatin5", kTextEncodingISOLatin5},   {"JIS83-RKSJ", kTextEncodingShiftJIS},
        {"MacStandard", kTextEncodingMacRoman},  {"WindowsANSI", kTextEncodingWindowsLatin1},
    };
    for (const auto& entry : kNamed)
        if (std::strcmp(name, entry.name) == 0)
            return entry.encoding;
    if (std::strcmp(name, "UTF-8") == 0) {
        TextEncoding utf8 =
            CreateTextEncoding(kTextEncodingUnicodeDefault, kUnicodeNoSubset, kUnicodeUTF8Format);
        CFStringEncoding theEncoding = CFStringGetMostCompatibleMacStringEncoding(utf8);
        std::printf("CFStringGetMostCompatibleMacStringEncoding theEncoding = %x (%d)\n",
                    static_cast<unsigned>(theEncoding), static_cast<int>(theEncoding));
        return theEncoding;
    }
    return kUnknownEncoding;
}

CFStringRef TextConverter::ConvertToCFString(const char* text, long /*length*/) {
    if (!text)
        return newEmptyString();
    // Text without a hex group is its own decoding. Other PPD text comes from 256-byte line
    // buffers: it is decoded on the stack, and only longer text from other callers into a block
    // of its own.
    const size_t size = std::strlen(text) + 1;
    const char* decoded = text;
    long length = static_cast<long>(size - 1);
    char local[kLocalTextSize];
    char* block = nullptr;
    if (std::memchr(text, '<', size - 1)) {
        char* out = size <= sizeof local ? local : (block = static_cast<char*>(std::malloc(size)));
        if (!out)
            return CFStringCreateWithCString(kCFAllocatorDefault, kOutOfMemory,
                                             kCFStringEncodingMacRoman);
        DehexBufferFill(const_cast<char*>(text), out);
        decoded = out;
        length = static_cast<long>(std::strlen(decoded));
    }
    const UInt8* bytes = reinterpret_cast<const UInt8*>(decoded);

    CFStringRef result = nullptr;
    switch (mSourceEncoding) {
    case kTextEncodingMacRoman:
    case kTextEncodingISOLatin1:
    case kTextEncodingWindowsLatin1:
    // Latin 2 and 5 define every byte, so reading them straight gives exactly what the Unicode
    // converter gives, without its set-up for each text.
    case kTextEncodingISOLatin2:
    case kTextEncodingISOLatin5:
        result = CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length,
                                         static_cast<CFStringEncoding>(mSourceEncoding), false);
        break;
    case kTextEncodingShiftJIS:
        result = ConvertThroughUnicode(decoded, length);
        break;
    default:
        result = CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length,
                                         kCFStringEncodingUTF8, false);
        break;
    }
    // Text that is not what its PPD declares is still shown: every byte has a Mac Roman
    // meaning, so nothing the file says is lost.
    if (!result)
        result = CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length,
                                         kCFStringEncodingMacRoman, false);
    std::free(block);
    return result ? result : newEmptyString();
}

CFStringRef TextConverter::ConvertThroughUnicode(const char* bytes, long length) {
    if (mToUnicode && mToUnicodeSource != mSourceEncoding) {
        TECDisposeConverter(mToUnicode);
        mToUnicode = nullptr;
    }
    if (!mToUnicode) {
        TextEncoding unicode = CreateTextEncoding(kTextEncodingUnicodeDefault, kUnicodeNoSubset,
                                                  kUnicode16BitFormat);
        if (TECCreateConverter(&mToUnicode, static_cast<TextEncoding>(mSourceEncoding), unicode) !=
            noErr) {
            mToUnicode = nullptr;
            return nullptr;
        }
        mToUnicodeSource = mSourceEncoding;
    }
    if (length == 0)
        return newEmptyString();
    const ByteCount capacity = 4 * static_cast<ByteCount>(length) + 1;
    alignas(UniChar) UInt8 local[4 * kLocalTextSize];
    UInt8* unicode = capacity <= sizeof local ? local : static_cast<UInt8*>(std::malloc(capacity));
    if (!unicode)
        return nullptr;
    ByteCount read = 0, written = 0, flushed = 0;
    OSStatus status = TECConvertText(mToUnicode, reinterpret_cast<ConstTextPtr>(bytes),
                                     static_cast<ByteCount>(length), &read, unicode, capacity,
                                     &written);
    if (status == noErr)
        status = TECFlushText(mToUnicode, unicode + written, capacity - written, &flushed);
    CFStringRef result = nullptr;
    if (status == noErr) {
        written += flushed;
        result = CFStringCreateWithCharacters(kCFAllocatorDefault,
                                              reinterpret_cast<const UniChar*>(unicode),
                                              static_cast<CFIndex>(written / sizeof(UniChar)));
    } else {
        // Leave no half-read character behind for the next text.
        TECClearConverterContextInfo(mToUnicode);
    }
    if (unicode != local)
        std::free(unicode);
    return result;
}

short TextConverter::nextHexChar(char** p) {
    ++*p;
    while (isHexGroupBlank(**p))
        ++*p;
    return isHexDigit(**p) || **p == '>' ? 0 : kMalformedText;
}

short TextConverter::toShort(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<short>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<short>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<short>(c - 'a' + 10);
    return 0;
}

long TextConverter::DehexBufferFill(char* in, char* out) {
    char* current = in;
    char* written = out;
    auto copyRest = [&]() {
        size_t rest = std::strlen(current) + 1;
        std::memcpy(written, current, rest);
        written += rest;
        return static_cast<long>(written - out);
    };
    for (;;) {
        char* open = std::strchr(current, '<');
        if (!open)
            return copyRest();
        char* close = std::strchr(current, '>');
        if (!close || close < open)
            return copyRest();
        // Validate: every step from '<' must land on a digit or '>', and the steps taken
        // before the character preceding '>' must come in pairs.
        long steps = 0;
        char* probe = open;
        do {
            if (nextHexChar(&probe) != 0)
                return copyRest();
            ++steps;
        } while (probe < close - 1);
        if (steps % 2 != 0)
            return copyRest();

        size_t plain = static_cast<size_t>(open - current);
        std::memcpy(written, current, plain);
        written += plain;
        char* digit = open + 1;
        for (;;) {
            while (digit < close && isHexGroupBlank(*digit))
                ++digit;
            if (digit >= close)
                break;
            char high = *digit++;
            while (digit < close && isHexGroupBlank(*digit))
                ++digit;
            if (digit >= close)
                break;
            char low = *digit++;
            *written++ = static_cast<char>(toShort(high) * 16 + toShort(low));
        }
        current = close + 1;
    }
}

void TextConverter::CFStringToCstring(CFStringRef string, char* buffer, long size) {
    if (!buffer || size < 1)
        return;
    if (string && CFStringGetCString(string, buffer, size, CFStringGetSystemEncoding()))
        return;
    size_t length = std::strlen(kTranslationError);
    if (length > static_cast<size_t>(size - 1))
        length = static_cast<size_t>(size - 1);
    std::memcpy(buffer, kTranslationError, length);
    buffer[length] = '\0';
}

OSStatus TextConverter::Convert(char* text, long bufferSize) {
    if (!mValid || !mConverter)
        return mStatus;
    if (!text)
        return paramErr;
    if (!mExceptionsList.IsException(mLanguage) && bufferSize >= 1) {
        bool eightBit = false;
        for (long i = 0; i < bufferSize - 1 && text[i]; ++i)
            if (static_cast<unsigned char>(text[i]) >= 0x80) {
                eightBit = true;
                break;
            }
        // Such text is Mac Roman whatever the PPD declares; so is all text after it.
        if (eightBit && mSourceEncoding != kTextEncodingMacRoman) {
            DisposeConverter();
            mSourceEncoding = kTextEncodingMacRoman;
            if (Create() != noErr)
                return mStatus;
        }
    }
    Handle output = NewHandle(static_cast<Size>(3 * std::strlen(text)));
    if (!output)
        return memFullErr;
    long outLength = 0;
    OSStatus status = ppdStringConvert(text, &output, &outLength);
    if (status == noErr && bufferSize >= 1) {
        long copied = outLength < bufferSize - 1 ? outLength : bufferSize - 1;
        std::memcpy(text, *output, static_cast<size_t>(copied));
        text[copied] = '\0';
    }
    DisposeHandle(output);
    return status;
}

OSStatus TextConverter::ppdStringConvert(char* in, Handle* out, long* outLength) {
    *outLength = 0;
    size_t inLength = std::strlen(in);
    if (inLength == 0)
        return kMalformedText;
    char* decoded = static_cast<char*>(std::malloc(inLength + 1));
    if (!decoded)
        return memFullErr;
    long totalLength = DehexBufferFill(in, decoded);
    checkInvariant(totalLength <= static_cast<long>(inLength + 1), "totalLength <= (inTextLen + 1)",
                   __LINE__);
    long length = static_cast<long>(std::strlen(decoded));
    // Shift-JIS characters are two bytes: hand on whole characters only.
    if (mSourceEncoding == kTextEncodingShiftJIS)
        length &= ~1L;
    OSStatus status = convertText(decoded, length, out, outLength);
    std::free(decoded);
    return status;
}

OSStatus TextConverter::convertText(const char* in, long inLength, Handle* out, long* outLength) {
    *outLength = 0;
    if (inLength <= 0)
        return noErr;
    Size step = GetHandleSize(*out);
    if (step < kMinimumOutputSize) {
        step = kMinimumOutputSize;
        SetHandleSize(*out, step);
        if (MemError() != noErr)
            return memFullErr;
    }
    auto grow = [&]() -> bool {
        SetHandleSize(*out, GetHandleSize(*out) + step);
        return MemError() == noErr;
    };
    auto bufferFull = [](OSStatus s) {
        return s == kTECOutputBufferFullStatus || s == kTECBufferBelowMinimumSizeErr;
    };

    ByteCount read = 0, written = 0;
    while (read < static_cast<ByteCount>(inLength)) {
        ByteCount used = 0, produced = 0;
        OSStatus status = TECConvertText(
            mConverter, reinterpret_cast<ConstTextPtr>(in) + read,
            static_cast<ByteCount>(inLength) - read, &used,
            reinterpret_cast<TextPtr>(**out) + written,
            static_cast<ByteCount>(GetHandleSize(*out)) - written, &produced);
        read += used;
        written += produced;
        if (bufferFull(status)) {
            if (!grow())
                return memFullErr;
            continue;
        }
        if (status != noErr)
            return status;
        if (used == 0)
            break; // nothing more the converter will take
    }
    for (;;) {
        ByteCount produced = 0;
        OSStatus status = TECFlushText(mConverter, reinterpret_cast<TextPtr>(**out) + written,
                                       static_cast<ByteCount>(GetHandleSize(*out)) - written,
                                       &produced);
        written += produced;
        if (bufferFull(status)) {
            if (!grow())
                return memFullErr;
            continue;
        }
        if (status != noErr)
            return status;
        break;
    }
    *outLength = static_cast<long>(written);
    return noErr;
}

unsigned char* CFStringToExternal(CFStringRef string, long* length) {
    if (length)
        *length = 0;
    if (!string)
        return nullptr;
    CFDataRef data = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string,
                                                          kCFStringEncodingUnicode, '?');
    if (!data)
        return nullptr;
    CFIndex size = CFDataGetLength(data);
    unsigned char* bytes = static_cast<unsigned char*>(std::malloc(size > 0 ? size : 1));
    if (bytes) {
        std::memcpy(bytes, CFDataGetBytePtr(data), static_cast<size_t>(size));
        if (length)
            *length = size;
    }
    CFRelease(data);
    return bytes;
}

CFStringRef ExtenalToCFString(unsigned char* bytes, long length) {
    if (!bytes || length < 0)
        return nullptr;
    return CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length, kCFStringEncodingUnicode,
                                   true);
}

CString* CFStringToCString(CFStringRef string) {
    // One byte more than four per character, so that the empty string has room for its NUL.
    long size = string ? 4 * static_cast<long>(CFStringGetLength(string)) + 1 : 1;
    char* buffer = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
    if (!buffer)
        return new CString;
    TextConverter::CFStringToCstring(string, buffer, size);
    CString* result = new CString(buffer);
    std::free(buffer);
    return result;
}
