#pragma once
/// Resource Manager, string lists only (the 'STR#' resources that GetIndString reads).
///
/// A resource file of this port is a text file of our own format, read whole when opened and
/// never written. Its string bytes are in the application's text encoding, UTF-8 here
/// (GetApplicationTextEncoding). The format, line by line ('\n' ends a line, a '\r' before it
/// is dropped):
///
///     # a comment: '#' in the first column, anywhere
///     STR# -8900                 starts the list -8900 (a decimal SInt16)
///     1 Text of index 1          index (1-32767), one space, the text up to the end of line
///     4 Text of index 4          gaps are allowed: indices 2 and 3 are empty strings
///     7                          an index alone is an empty string too
///                                an empty (or blank) line, or the next STR# line, ends a list
///
/// In a text, "\\" is a backslash, "\n" a line feed (0x0A) and "\xHH" the byte 0xHH (for the
/// bytes of non-ASCII letters in an ASCII file); any other backslash sequence is an error.
/// Spaces are kept as they are, trailing ones included. Texts longer than 255 bytes are cut to
/// at most 255 bytes, before a UTF-8 character that would not fit whole.
///
/// The file is untrusted: it may be at most 1 MiB, a line at most 4096 bytes; a NUL byte, an
/// unknown line, an entry outside a list, a bad number, or a list id or index given twice makes
/// the whole file malformed (mapReadErr) rather than half read.
///
/// The open files form a chain in opening order. Opening one makes it the current file; a
/// search starts at the current file and goes on through the files opened before it. Closing
/// the current file makes the one opened just before it current. At most 32 files are open.
/// ResError reports the calling thread's last Resource Manager status. All calls are
/// thread-safe.

#include <CarbonCore/Files.h>

typedef SInt16 ResFileRefNum;

enum {
    kResFileNotOpened = -1, ///< returned by the open calls on failure; CurResFile with none open
    kSystemResFile = 0,     ///< the platform's system file: this port has none
};

#ifdef __cplusplus
extern "C" {
#endif

/// The current resource file, or kResFileNotOpened when none is open.
ResFileRefNum CurResFile(void);
/// Makes an open file current; resFNotFound (in ResError) leaves the current file as it was.
void UseResFile(ResFileRefNum refNum);
/// Opens and reads the fsSpec's file (any permission reads it: nothing is ever written) and makes
/// it current; kResFileNotOpened on failure, with the reason in ResError.
ResFileRefNum FSpOpenResFile(const FSSpec* fsSpec, SInt8 permission);
/// As FSpOpenResFile, for a ref.
ResFileRefNum FSOpenResFile(const FSRef* ref, SInt8 permission);
/// Closes an open file; resFNotFound in ResError if it is not one.
void CloseResFile(ResFileRefNum refNum);
/// Status of the calling thread's last Resource Manager call.
OSErr ResError(void);
/// Copies string `index` (1-based) of list `strListID` into theString, cut to 255 bytes. A
/// missing list or an index past the list's end gives an empty string and resNotFound.
void GetIndString(Str255 theString, short strListID, short index);

#ifdef __cplusplus
}
#endif
