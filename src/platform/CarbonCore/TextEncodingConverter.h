#pragma once
/// Text Encoding Converter: converts text between the encodings of TextCommon.h.
///
/// Supported: Mac Roman, ISO Latin 1/2/5, Windows Latin 1, Shift-JIS (default variant and format
/// only) and Unicode (no subset) as UTF-16 or UTF-32 in the machine's byte order or as UTF-8.
/// Byte order marks are neither written nor removed.
///
/// Ownership: TECCreateConverter hands the caller a converter that it gives back with
/// TECDisposeConverter. A converter is used by one thread at a time; different converters may
/// run in parallel. A converter that is not live gives kTECCorruptConverterErr.
///
/// Streaming: TECConvertText converts whole characters only. When the output buffer cannot take
/// the next character it stops with kTECOutputBufferFullStatus; *actualInputLength and
/// *actualOutputLength say how far it got, and the caller goes on from that input offset with
/// more room. A character cut off at the end of the input is kept in the converter and finished
/// by the next call (its bytes count as consumed); TECFlushText reports one still pending with
/// kTECPartialCharErr. On kTextMalformedInputErr or kTECUnmappableElementErr the actual lengths
/// likewise stop just before the offending character.

#include <CarbonCore/TextCommon.h>

typedef struct OpaqueTECObjectRef* TECObjectRef;

#ifdef __cplusplus
extern "C" {
#endif

/// New converter; kTextUnsupportedEncodingErr if either encoding is not supported.
OSStatus TECCreateConverter(TECObjectRef* newEncodingConverter, TextEncoding inputEncoding,
                            TextEncoding outputEncoding);
/// Converts as much of the input as fits; see the header comment for the streaming contract.
OSStatus TECConvertText(TECObjectRef encodingConverter, ConstTextPtr inputBuffer,
                        ByteCount inputBufferLength, ByteCount* actualInputLength,
                        TextPtr outputBuffer, ByteCount outputBufferLength,
                        ByteCount* actualOutputLength);
/// Ends a stream: writes nothing (the encodings are stateless), kTECPartialCharErr if a cut-off
/// character was still pending (it is dropped).
OSStatus TECFlushText(TECObjectRef encodingConverter, TextPtr outputBuffer,
                      ByteCount outputBufferLength, ByteCount* actualOutputLength);
/// Forgets any pending partial character so that the converter can start a new stream.
OSStatus TECClearConverterContextInfo(TECObjectRef encodingConverter);
/// Frees the converter.
OSStatus TECDisposeConverter(TECObjectRef newEncodingConverter);

#ifdef __cplusplus
}
#endif
