#pragma once
/// Basic Mac types that Core Foundation's base header does not already provide.
///
/// The integer, Boolean, string and status types (UInt8 ... SInt32, OSErr, OSStatus, Str255 ...)
/// come from <CoreFoundation/CFBase.h>; this header adds the Carbon ones on top. Pascal strings
/// (StrNN) are a length byte followed by that many bytes; their text is Mac Roman unless the
/// API that fills them says otherwise.

#include <CoreFoundation/CFBase.h>

/// Four-character codes: 'TEXT', 'ttxt' ... packed big-end first into a 32-bit value.
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;

/// Script, language and region codes of the Script Manager.
typedef SInt16 ScriptCode;
typedef SInt16 LangCode;
typedef SInt16 RegionCode;

/// A non-relocatable block (NewPtr) and a relocatable one: a Handle points to a master pointer,
/// which points to the block; the block may move, the master pointer does not.
typedef char* Ptr;
typedef Ptr* Handle;
/// Block sizes are signed: a negative size is always a caller error.
typedef long Size;

typedef unsigned long ByteCount;
typedef unsigned long ItemCount;
typedef void* LogicalAddress;

/// Raw text buffers: their encoding is given by whoever hands them over.
typedef UInt8* TextPtr;
typedef const UInt8* ConstTextPtr;

typedef unsigned char Str15[16];
typedef unsigned char Str32[33];
typedef StringPtr* StringHandle;

/// QuickDraw's integer rectangle and point (v is vertical, h horizontal).
struct Rect {
    short top;
    short left;
    short bottom;
    short right;
};
typedef struct Rect Rect;

struct Point {
    short v;
    short h;
};
typedef struct Point Point;

/// The status every call returns when it succeeded.
enum { noErr = 0 };
