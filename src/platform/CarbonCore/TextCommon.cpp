#include <CarbonCore/TextCommon.h>

namespace {
constexpr int kVariantShift = 16;
constexpr int kFormatShift = 26;
constexpr UInt32 kBaseMask = 0xFFFF;
constexpr UInt32 kVariantMask = 0x3FF;
constexpr UInt32 kFormatMask = 0x3F;
// The platform numbers its Mac script encodings after the scripts: smJapanese is
// kTextEncodingMacJapanese and so on, up to the last script code.
constexpr ScriptCode kLastScript = 32;
} // namespace

extern "C" {

TextEncoding CreateTextEncoding(TextEncodingBase encodingBase, TextEncodingVariant encodingVariant,
                                TextEncodingFormat encodingFormat) {
    return (encodingBase & kBaseMask) | ((encodingVariant & kVariantMask) << kVariantShift) |
           ((encodingFormat & kFormatMask) << kFormatShift);
}

TextEncodingBase GetTextEncodingBase(TextEncoding encoding) {
    return encoding & kBaseMask;
}

TextEncodingVariant GetTextEncodingVariant(TextEncoding encoding) {
    return (encoding >> kVariantShift) & kVariantMask;
}

TextEncodingFormat GetTextEncodingFormat(TextEncoding encoding) {
    return (encoding >> kFormatShift) & kFormatMask;
}

OSStatus UpgradeScriptInfoToTextEncoding(ScriptCode iTextScriptID, LangCode /*iTextLanguageID*/,
                                         RegionCode /*iRegionID*/,
                                         ConstStr255Param /*iTextFontname*/,
                                         TextEncoding* oEncoding) {
    if (oEncoding == nullptr)
        return paramErr;
    switch (iTextScriptID) {
    case smSystemScript:
    case smCurrentScript:
    case kTextScriptDontCare:
        *oEncoding = kTextEncodingMacRoman;
        return noErr;
    default:
        if (iTextScriptID < smRoman || iTextScriptID > kLastScript)
            return paramErr;
        *oEncoding = TextEncoding(iTextScriptID);
        return noErr;
    }
}

// UTF-8, as the system encoding (CFStringGetSystemEncoding): the two must agree, since the
// system hands the same char* texts to both.
TextEncoding GetApplicationTextEncoding(void) {
    return CreateTextEncoding(kTextEncodingUnicodeDefault, kTextEncodingDefaultVariant,
                              kUnicodeUTF8Format);
}

} // extern "C"
