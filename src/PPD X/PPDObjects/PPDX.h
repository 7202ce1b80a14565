//===- PPDX.h - Abstract base of the PPD model ------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDX_H
#define PIGMENTOR_PPDX_PPDX_H

#include "PPDFile.h"
#include "PPDStream.h"

#include "CString.h"
#include "PPDXErrors.h"

#include <CoreFoundation/CFArray.h>

class Settings;
class TextConverter;

/// Abstract base of the PPD model: owns the PPD file, the error list, the header strings and
/// the text converter, and carries the lexical operations that every keyword parser reads
/// through (tokens, quoted values, PostScript code).
///
/// Header strings are the PPD's bytes, in its `*LanguageEncoding`. Every lexical buffer is
/// PPDStream::kLineBufferSize bytes unless a capacity is passed. The model is shared by
/// reference counting: a new object has a count of 0 and the Release() that brings the count
/// to 0 destroys it. The header can be saved into a Settings archive and rebuilt from one
/// (PPDXPersistence.cpp). One thread at a time; the count is not atomic.
class PPDX {
public:
    /// The version number of the model's layout, read by the shared model list.
    static long PPDXManagerVersion() { return 9; }

    /// Builds over the PPD at `url`; `acceptedNames` (CFStrings, may be null) are checked
    /// against the file's *PCFileName and forgotten.
    PPDX(CFURLRef url, CFArrayRef acceptedNames);
    PPDX(const FSSpec& fsSpec, CFArrayRef acceptedNames);
    /// Rebuilds the header from `settings` (BuildFromSettings); `ppdURL` (may be null) names
    /// the PPD when the archive's file is not found.
    PPDX(Settings& settings, CFURLRef ppdURL, CFArrayRef acceptedNames);
    PPDX(const PPDX&) = delete;
    PPDX& operator=(const PPDX&) = delete;
    virtual ~PPDX();

    /// Called from every model's destructor, so that a registry that points at models (the
    /// process's shared model list) can forget one however it dies. The pointer only
    /// identifies the object: it must not be used.
    using DestroyObserver = void (*)(const PPDX* dying);
    /// Installs `observer` (null removes it); returns the one it replaces. Any thread.
    static DestroyObserver SetDestroyObserver(DestroyObserver observer);

    /// Adds a holder; returns this object.
    virtual PPDX* Retain();
    /// Drops a holder; destroys the object and returns true when none is left.
    virtual bool Release();
    /// Reads the whole PPD into the model.
    virtual void Parse() = 0;
    /// Reads the header keywords (*PCFileName, *FormatVersion, *FileVersion, *LanguageVersion,
    /// *ModelName, *LanguageEncoding); other keywords are ignored. Always 0.
    virtual long ParsePSKeywords(PPDStream& line, const char* keyword);

    /// Writes the archive version, the file (when the model has one) and the six header texts;
    /// false at the first item that cannot be written.
    bool Save(Settings& settings);

    PPDXErrors* GetErrors() const { return mErrors; }
    void AllErrorsFatal(const bool& allFatal) { mAllErrorsFatal = allFatal; }
    /// True when the file had the PPD signature and no error (or, with AllErrorsFatal, no
    /// error at all) spoils it.
    bool IsValidPPD() const;
    bool IsValidPrinterName() const { return mValidPrinterName; }
    /// The text converter's output encoding, or 0 without a converter.
    unsigned long GetStringTextEncoding() const;
    TextConverter* GetTextConverter() const { return mTextConverter; }
    PPDFile* GetFile() const { return mFile; }

    const char* FormatVersion() const { return Text(mFormatVersion); }
    const char* FileVersion() const { return Text(mFileVersion); }
    const char* PCFileName() const { return Text(mPCFileName); }
    const char* LanguageVersion() const { return Text(mLanguageVersion); }
    const char* LanguageEncoding() const { return Text(mLanguageEncoding); }
    const char* ModelName() const { return Text(mModelName); }

    /// True when `file`'s first 4096 bytes hold *PCFileName and, within 32 bytes after it,
    /// one of `names` (CFStrings, compared as Mac Roman bytes).
    static bool ValidateAgainstPCFilename(CFArrayRef names, PPDFile* file);
    /// True when `names` is null; else checks `file`, or the file at `url` when none is given.
    static bool ValidateFileName(CFURLRef url, CFArrayRef names, PPDFile* file);

    /// The next token of `stream` into `token` (256 bytes): up to a delimiter (consumed, not
    /// stored), a line end, the end of data, or 255 bytes. False when nothing was stored.
    /// With `strip`, leading and trailing blanks are removed (a blank token becomes empty).
    static bool NextToken(PPDStream& stream, char* token, const char* delimiters, bool strip);
    /// The double-quoted value of `line`, continued over further lines of the parse's stream;
    /// lines are separated by a NUL byte in `out`. Returns 0 for an empty or missing value,
    /// else the bytes stored plus 1.
    long GetQuotedString(PPDStream& line, char* out, const unsigned long& capacity);
    /// The double-quoted PostScript code of `line`, continued over further lines and joined by
    /// LF; never NUL-terminated, always ended by LF. Returns 0 for an empty or missing value,
    /// else the bytes stored (the final LF included).
    long GetPostscriptString(PPDStream& line, char* out, const unsigned long& capacity);
    static void StripLeadingWhiteSpace(char* text);
    /// Removes trailing blanks; the first character always stays.
    static void StripTrailingWhiteSpace(char* text);

    /// Delimiter sets of the PPD engine.
    static const char* const kKeywordDelimiters;  ///< space, tab, colon
    static const char* const kLineEndDelimiters;  ///< LF, CR
    static const char* const kOptionDelimiters;   ///< "/:"
    static const char* const kColonDelimiters;    ///< ":"
    static const char* const kUITypeDelimiters;   ///< ";(;)"
    static const char* const kFlagDelimiters;     ///< bar, colon, double quote
    static const char* const kBlankDelimiters;    ///< space, tab

protected:
    /// A model without a file (nothing to parse); the error list exists.
    PPDX();
    void Build(CFURLRef url);
    void Build(const FSSpec& fsSpec);
    /// Checks the PPD signature: "*PPD-Adobe" with the quoted value "4.3" makes the PPD valid
    /// and gives null; anything else gives a new error 28 (fatal).
    PPDXErrorObj* TestSignature(PPDStream& stream, const char* firstToken);
    /// Records `error` (owned by the model from now on).
    void AddError(PPDXErrorObj* error);
    /// Replaces `*slot` with a copy of `text`.
    static void Store(CString*& slot, const char* text);
    static const char* Text(const CString* s) { return s && !s->Empty() ? static_cast<const char*>(*s) : nullptr; }
    /// Rebuilds the text converter once both the language version and encoding are known.
    void UpdateTextConverter();
    /// Reads the header of an archive: nothing without its version item. Then the file the
    /// archive names (the one of `ppdURL` instead when that names none that exists), an empty
    /// error list and the PC file name, checked against the accepted names (which are then
    /// forgotten); only an accepted name brings the other header texts and a text converter.
    /// True when it did.
    bool BuildFromSettings(Settings& settings, CFURLRef ppdURL);
    /// Whether one of `names` (CFStrings, as Mac Roman bytes) stands in the first 32 bytes of
    /// `pcFileName`, as the check of a PPD file finds it after its *PCFileName keyword.
    static bool NameAccepted(CFArrayRef names, const char* pcFileName);

    bool mValid = false;
    bool mValidPrinterName = true;
    PPDFile* mFile = nullptr;
    PPDXErrors* mErrors = nullptr;
    bool mAllErrorsFatal = false;
    CString* mFormatVersion = nullptr;
    CString* mFileVersion = nullptr;
    CString* mPCFileName = nullptr;
    CString* mLanguageVersion = nullptr;
    CString* mLanguageEncoding = nullptr;
    CString* mModelName = nullptr;
    TextConverter* mTextConverter = nullptr;
    PPDStream* mStream = nullptr;
    CFArrayRef mAcceptedNames = nullptr;
    long mRefCount = 0;
};

#endif // PIGMENTOR_PPDX_PPDX_H
