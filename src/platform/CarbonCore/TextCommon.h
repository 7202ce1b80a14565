#pragma once
/// Text encodings as the platform names them: a TextEncoding packs a base encoding (bits
/// 0-15), a variant (bits 16-25) and a format (bits 26-31) into 32 bits.
///
/// Only the bases listed below are known to the converter; the Script Manager side of this port
/// has a single system script, Roman, so every script query answers Mac Roman.

#include <CarbonCore/MacErrors.h>
#include <CarbonCore/MacTypes.h>

typedef UInt32 TextEncoding;
typedef UInt32 TextEncodingBase;
typedef UInt32 TextEncodingVariant;
typedef UInt32 TextEncodingFormat;

enum {
    kTextEncodingMacRoman = 0x0000,
    kTextEncodingUnicodeDefault = 0x0100,
    kTextEncodingISOLatin1 = 0x0201,
    kTextEncodingISOLatin2 = 0x0202,
    kTextEncodingISOLatin5 = 0x0209,
    kTextEncodingWindowsLatin1 = 0x0500,
    kTextEncodingShiftJIS = 0x0A01,
    kTextEncodingUnknown = 0xFFFF,
};

enum {
    kTextEncodingDefaultVariant = 0,
    kUnicodeNoSubset = 0,
};

enum {
    kTextEncodingDefaultFormat = 0,
    kUnicode16BitFormat = 0, ///< UTF-16 in the machine's byte order
    kUnicodeUTF7Format = 1,  ///< not supported by the converter
    kUnicodeUTF8Format = 2,
    kUnicode32BitFormat = 3, ///< UTF-32 in the machine's byte order
};

// Script Manager codes used to pick an encoding.
enum {
    smSystemScript = -1,
    smCurrentScript = -2,
    smRoman = 0,
    kTextScriptDontCare = -128,
    kTextLanguageDontCare = -128,
    kTextRegionDontCare = -128,
};

#ifdef __cplusplus
extern "C" {
#endif

/// Packs base, variant (10 bits kept) and format (6 bits kept) into a TextEncoding.
TextEncoding CreateTextEncoding(TextEncodingBase encodingBase, TextEncodingVariant encodingVariant,
                                TextEncodingFormat encodingFormat);
/// Bits 0-15 of the encoding.
TextEncodingBase GetTextEncodingBase(TextEncoding encoding);
/// Bits 16-25 of the encoding.
TextEncodingVariant GetTextEncodingVariant(TextEncoding encoding);
/// Bits 26-31 of the encoding.
TextEncodingFormat GetTextEncodingFormat(TextEncoding encoding);

/// Encoding of a script: the system, current and don't-care scripts and Roman give Mac Roman;
/// the other platform scripts (1-32) give the Mac encoding of the same number, which this
/// converter does not support; language, region and font name are ignored. paramErr for
/// anything else or a NULL result pointer.
OSStatus UpgradeScriptInfoToTextEncoding(ScriptCode iTextScriptID, LangCode iTextLanguageID,
                                         RegionCode iRegionID, ConstStr255Param iTextFontname,
                                         TextEncoding* oEncoding);
/// The encoding of the application's texts: UTF-8 (Unicode in UTF-8 format), as the system
/// encoding of Core Foundation; the value equals kCFStringEncodingUTF8.
TextEncoding GetApplicationTextEncoding(void);

#ifdef __cplusplus
}
#endif
