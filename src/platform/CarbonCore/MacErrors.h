#pragma once
/// Status codes of the Carbon core services, with the platform's own values.
///
/// OSErr and OSStatus values are never thrown: every call returns one (or leaves it for
/// MemError/ResError to report).

#include <CarbonCore/MacTypes.h>

// File Manager.
enum {
    dirFulErr = -33, ///< directory full
    dskFulErr = -34, ///< disk full
    nsvErr = -35,    ///< no such volume
    ioErr = -36,     ///< I/O error
    bdNamErr = -37,  ///< bad file name (too long, empty where one is needed, or illegal bytes)
    fnOpnErr = -38,  ///< file not open
    eofErr = -39,    ///< end of file reached or mark set past it
    posErr = -40,    ///< mark set before the start of the file
    tmfoErr = -42,   ///< too many files open
    fnfErr = -43,    ///< file not found
    wPrErr = -44,    ///< volume is write-protected
    fLckdErr = -45,  ///< file is locked
    fBsyErr = -47,   ///< file is busy (open, or a non-empty directory)
    dupFNErr = -48,  ///< a file of that name already exists
    opWrErr = -49,   ///< file already open for writing
    paramErr = -50,  ///< error in a parameter
    rfNumErr = -51,  ///< bad reference number
    permErr = -54,   ///< permission denied
    wrPermErr = -61, ///< write to a fork not opened for writing
    dirNFErr = -120, ///< directory not found
    buffersTooSmall = -210, ///< caller's buffer cannot hold the result
    notAFileErr = -1302,    ///< a directory (or other non-file) where a file was needed
    errFSBadFSRef = -1401,  ///< the FSRef does not refer to anything known
};

// Memory Manager.
enum {
    memFullErr = -108,   ///< not enough memory
    nilHandleErr = -109, ///< NULL handle or master pointer
    memWZErr = -111,     ///< operation on a block that is not (or no longer) allocated
};

// Resource Manager.
enum {
    resNotFound = -192,  ///< no such resource (or no such string in a list)
    resFNotFound = -193, ///< no such open resource file
    mapReadErr = -199,   ///< the resource file is malformed
};

// Text Encoding Converter.
enum {
    kTextUnsupportedEncodingErr = -8738,   ///< encoding not supported by this converter
    kTextMalformedInputErr = -8739,        ///< input is not legal in its encoding
    kTECCorruptConverterErr = -8748,       ///< not a live converter object
    kTECBufferBelowMinimumSizeErr = -8750, ///< output buffer smaller than one output code unit
    kTECPartialCharErr = -8753,            ///< input ends in the middle of a character
    kTECUnmappableElementErr = -8754,      ///< a character has no form in the target encoding
    kTECOutputBufferFullStatus = -8785,    ///< output full: resume at the reported input offset
};
