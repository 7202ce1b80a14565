//===- TextConverter.h - PPD text to Unicode strings ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDUTILS_TEXTCONVERTER_H
#define PIGMENTOR_PPDUTILS_TEXTCONVERTER_H

#include "CString.h"
#include "HexLanguageExceptions.h"

#include <CarbonCore/MacMemory.h>
#include <CarbonCore/TextEncodingConverter.h>
#include <CoreFoundation/CFString.h>

#include <string>

/// Converts PPD text (in the PPD's *LanguageEncoding, with bytes optionally written as hex
/// groups such as <E4>) into Core Foundation strings, and zero-terminated PPD text in place
/// into the system encoding.
///
/// Encodings are the Text Encoding Converter's numbers (Mac Roman 0, ISO Latin 1 0x201, ...;
/// unknown 0xFFFF). The object owns its platform converters. A converter whose encodings are
/// unknown stays invalid: Convert() then changes nothing, ConvertToCFString() still works and
/// reads the text as UTF-8. One thread at a time.
///
/// The constructors that take a PPD model read only its LanguageEncoding() and
/// LanguageVersion(); they are templates so that this library needs nothing of the engine.
class TextConverter {
public:
    /// The value of an encoding that is not known.
    static constexpr unsigned long kUnknownEncoding = 0xFFFF;
    /// Status of Convert for an empty text and of malformed hex text.
    static constexpr OSStatus kMalformedText = 5000;

    /// Converts from `ppd`'s encoding to the system encoding; language from the PPD.
    template <class PPD> explicit TextConverter(PPD* ppd) {
        Init(GetPPDEncoding(ppd), ppd ? ppd->LanguageVersion() : nullptr, GetCurrentEncoding());
    }
    template <class PPD> TextConverter(PPD* ppd, const unsigned long& outputEncoding) {
        Init(GetPPDEncoding(ppd), ppd ? ppd->LanguageVersion() : nullptr, outputEncoding);
    }
    TextConverter(unsigned long& sourceEncoding, const unsigned long& outputEncoding);
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;
    virtual ~TextConverter();

    /// Makes the platform converter from the source to the output encoding.
    OSStatus Create();
    bool ValidConverter() const { return mValid; }
    unsigned long GetOutputEncoding() const { return mOutputEncoding; }
    unsigned long GetSourceEncoding() const { return mSourceEncoding; }

    /// The encoding of the system script (Mac Roman here), or unknown.
    static unsigned long GetCurrentEncoding();
    /// The encoding `ppd`'s *LanguageEncoding names, or unknown.
    template <class PPD> static unsigned long GetPPDEncoding(PPD* ppd) {
        return ppd ? LanguageStringToEncoding(ppd->LanguageEncoding()) : kUnknownEncoding;
    }
    /// The encoding a *LanguageEncoding value names (exact, case-sensitive), or unknown.
    static unsigned long LanguageStringToEncoding(const char* name);

    /// A new string (the caller releases it) of PPD text up to its NUL, hex groups decoded;
    /// `length` is not used.
    CFStringRef ConvertToCFString(const char* text, long length);
    /// Converts `text` in place from the source to the output encoding, within `bufferSize`
    /// bytes. Returns 0, paramErr (null text), memFullErr, kMalformedText (empty text) or the
    /// platform converter's error; an invalid converter returns its last status, unchanged.
    OSStatus Convert(char* text, long bufferSize);

    /// Copies `in` into `out` (at least as large) with every well-formed hex group decoded;
    /// from a malformed group on the text is copied unchanged. Returns the bytes written, NUL
    /// included.
    static long DehexBufferFill(char* in, char* out);
    /// Advances *p past one character and then blanks and line ends; 0 when it then stands on a
    /// hex digit or '>', else kMalformedText.
    static short nextHexChar(char** p);
    /// Value of a hex digit; 0 for any other character.
    static short toShort(char c);
    /// `string` in the system encoding into `buffer` (`size` bytes, NUL included); on failure
    /// "Translation Error", cut to fit.
    static void CFStringToCstring(CFStringRef string, char* buffer, long size);

    /// Hex-decodes `in` and converts it into `*out` (grown as needed); *outLength bytes.
    OSStatus ppdStringConvert(char* in, Handle* out, long* outLength);
    /// Converts `inLength` bytes into `*out`, growing it while the converter reports it full.
    OSStatus convertText(const char* in, long inLength, Handle* out, long* outLength);

    static const HexLanguageExceptions mExceptionsList;

private:
    /// Stops at an unknown encoding (the object stays invalid), else creates the converter.
    void Init(unsigned long sourceEncoding, const char* language, unsigned long outputEncoding);
    void DisposeConverter();
    /// `bytes` through the to-Unicode converter; null when that conversion fails.
    CFStringRef ConvertThroughUnicode(const char* bytes, long length);

    unsigned long mSourceEncoding = kUnknownEncoding;
    unsigned long mOutputEncoding = kUnknownEncoding;
    TECObjectRef mConverter = nullptr;
    OSStatus mStatus = noErr;
    bool mValid = false;
    TECObjectRef mToUnicode = nullptr;
    unsigned long mToUnicodeSource = kUnknownEncoding;
    std::string mLanguage;
};

/// The Unicode external representation of `string` (UTF-16 in machine byte order after a
/// byte-order mark; '?' for what cannot be converted) in a new malloc block the caller frees;
/// *length is its size in bytes. Null for a null string.
unsigned char* CFStringToExternal(CFStringRef string, long* length);
/// The reverse of CFStringToExternal (byte-order mark honoured); null for null bytes.
CFStringRef ExtenalToCFString(unsigned char* bytes, long length);
/// A new CString (the caller deletes it) of `string` in the system encoding.
CString* CFStringToCString(CFStringRef string);

#endif // PIGMENTOR_PPDUTILS_TEXTCONVERTER_H
