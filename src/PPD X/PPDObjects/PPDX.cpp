//===- PPDX.cpp - Abstract base of the PPD model --------------------------===//
#include "PPDX.h"

#include "BoyerMoore.h"
#include "PPDKeyword.h"
#include "TextConverter.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

const char* const PPDX::kKeywordDelimiters = " \t:";
const char* const PPDX::kLineEndDelimiters = "\n\r";
const char* const PPDX::kOptionDelimiters = "/:";
const char* const PPDX::kColonDelimiters = ":";
const char* const PPDX::kUITypeDelimiters = ";(;)";
const char* const PPDX::kFlagDelimiters = "|:\"";
const char* const PPDX::kBlankDelimiters = " \t";

namespace {

const char kPCFileNameKeyword[] = "*PCFileName";
/// Bytes at the head of a file in which *PCFileName must stand.
const long kPCFileNameScanSize = 4096;
/// Bytes after *PCFileName in which an accepted name must stand.
const long kPCFileNameWindow = 32;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// The engine's own delimiter sets, whose tables are built once.
const char* const* knownSets() {
    static const char* const sets[] = {PPDX::kKeywordDelimiters, PPDX::kLineEndDelimiters,
                                       PPDX::kOptionDelimiters,  PPDX::kColonDelimiters,
                                       PPDX::kUITypeDelimiters,  PPDX::kFlagDelimiters,
                                       PPDX::kBlankDelimiters,   nullptr};
    return sets;
}
constexpr int kKnownSetCount = 8;

using TokenStops = PPDStream::TokenStops;

/// The shared stops of one of the engine's delimiter sets (recognised by address) or of no
/// delimiters; null for any other set.
const TokenStops* KnownStops(const char* delimiters) {
    static const TokenStops known[kKnownSetCount] = {
        TokenStops(knownSets()[0]), TokenStops(knownSets()[1]), TokenStops(knownSets()[2]),
        TokenStops(knownSets()[3]), TokenStops(knownSets()[4]), TokenStops(knownSets()[5]),
        TokenStops(knownSets()[6]), TokenStops(knownSets()[7])};
    const char* const* sets = knownSets();
    for (int i = 0; i < kKnownSetCount; ++i)
        if (sets[i] == delimiters)
            return &known[i];
    return nullptr;
}

/// A token of another delimiter set, whose stops are made for this call.
PPDStream::TokenRead ReadCustomToken(PPDStream& stream, char* token, const char* delimiters) {
    const TokenStops stops(delimiters);
    return stream.ReadToken(token, stops);
}

/// StripLeadingWhiteSpace then StripTrailingWhiteSpace on a token whose text (up to its first
/// NUL) is `length` bytes long.
void StripToken(char* token, int length) {
    int start = 0;
    while (start < length && isBlank(token[start]))
        ++start;
    int end = length;
    // The first character left always stays, as StripTrailingWhiteSpace keeps it.
    while (end > start + 1 && isBlank(token[end - 1]))
        --end;
    if (start > 0)
        std::memmove(token, token + start, static_cast<size_t>(end - start));
    token[end - start] = '\0';
}

/// Moves `line` up to and past its opening double quote; false when it has none.
bool skipToOpeningQuote(PPDStream& line) {
    return line.SkipPast('"');
}

} // namespace

PPDX::PPDX() : mErrors(new (std::nothrow) PPDXErrors) {}

PPDX::PPDX(CFURLRef url, CFArrayRef acceptedNames) : mAcceptedNames(acceptedNames) { Build(url); }

PPDX::PPDX(const FSSpec& fsSpec, CFArrayRef acceptedNames) : mAcceptedNames(acceptedNames) {
    Build(fsSpec);
}

namespace {
std::atomic<PPDX::DestroyObserver> gDestroyObserver{nullptr};
} // namespace

PPDX::DestroyObserver PPDX::SetDestroyObserver(DestroyObserver observer) {
    return gDestroyObserver.exchange(observer);
}

PPDX::~PPDX() {
    if (DestroyObserver observer = gDestroyObserver.load())
        observer(this);
    delete mFile;
    if (mErrors) {
        for (ConstPointerListItr it = mErrors->List().Begin(); it != mErrors->List().End(); ++it)
            delete static_cast<const PPDXErrorObj*>(*it);
        delete mErrors;
    }
    delete mFormatVersion;
    delete mFileVersion;
    delete mPCFileName;
    delete mLanguageVersion;
    delete mLanguageEncoding;
    delete mModelName;
    delete mTextConverter;
}

void PPDX::Build(CFURLRef url) {
    const FSSpec fsSpec = PPDFile::SpecFromURL(url);
    if (fsSpec.name[0] == 0 || fsSpec.name[0] > 63 || fsSpec.parID < fsRtDirID) {
        Build(fsSpec);
        return;
    }
    // The look-up of the URL has just found the file: its FSSpec needs no second one.
    if (!mErrors)
        mErrors = new (std::nothrow) PPDXErrors;
    mFile = new (std::nothrow) PPDFile(fsSpec);
    if (mAcceptedNames)
        mValidPrinterName = ValidateAgainstPCFilename(mAcceptedNames, mFile);
    mAcceptedNames = nullptr;
}

void PPDX::Build(const FSSpec& fsSpec) {
    if (!mErrors)
        mErrors = new (std::nothrow) PPDXErrors;
    char name[64];
    unsigned length = std::min<unsigned>(fsSpec.name[0], 63);
    std::memcpy(name, fsSpec.name + 1, length);
    name[length] = '\0';
    mFile = new (std::nothrow) PPDFile(fsSpec.vRefNum, fsSpec.parID, name);
    if (mAcceptedNames)
        mValidPrinterName = ValidateAgainstPCFilename(mAcceptedNames, mFile);
    mAcceptedNames = nullptr;
}

PPDX* PPDX::Retain() {
    ++mRefCount;
    return this;
}

bool PPDX::Release() {
    // The creator's hold is not counted: a new model (count 0) dies at its first Release, and
    // each Retain adds one Release that only drops the count.
    if (mRefCount > 0) {
        --mRefCount;
        return false;
    }
    delete this;
    return true;
}

PPDXErrorObj* PPDX::TestSignature(PPDStream& stream, const char* firstToken) {
    char version[PPDStream::kLineBufferSize];
    if (firstToken && std::strcmp(firstToken, "*PPD-Adobe") == 0 &&
        GetQuotedString(stream, version, sizeof version) && std::strcmp(version, "4.3") == 0) {
        mValid = true;
        return nullptr;
    }
    return new (std::nothrow) PPDXErrorObj(28, true);
}

void PPDX::AddError(PPDXErrorObj* error) {
    if (!error)
        return;
    if (mErrors)
        mErrors->Add(error);
    else
        delete error;
}

bool PPDX::IsValidPPD() const {
    if (!mValid)
        return false;
    if (!mErrors)
        return true;
    if (mAllErrorsFatal && !mErrors->Empty())
        return false;
    for (ConstPointerListItr it = mErrors->List().Begin(); it != mErrors->List().End(); ++it)
        if (static_cast<const PPDXErrorObj*>(*it)->IsFatal())
            return false;
    return true;
}

unsigned long PPDX::GetStringTextEncoding() const {
    return mTextConverter ? mTextConverter->GetOutputEncoding() : 0;
}

bool PPDX::ValidateAgainstPCFilename(CFArrayRef names, PPDFile* file) {
    if (!file || file->openDataFork(fsRdPerm) != noErr)
        return false;
    char head[kPCFileNameScanSize];
    std::memset(head, 0, sizeof head);
    unsigned long count = sizeof head;
    file->dataForkRead(head, &count);
    file->closeDataFork();

    BoyerMoore search(kPCFileNameKeyword, sizeof kPCFileNameKeyword - 1, head, sizeof head);
    long found = search.Search();
    if (found < 0)
        return false;
    // Past the keyword and the character after it, then past blanks.
    long at = found + static_cast<long>(sizeof kPCFileNameKeyword);
    while (at < kPCFileNameScanSize && isBlank(head[at]))
        ++at;
    long window = std::min(kPCFileNameWindow, kPCFileNameScanSize - at);
    if (window <= 0)
        return false;

    CFIndex nameCount = names ? CFArrayGetCount(names) : 0;
    for (CFIndex i = 0; i < nameCount; ++i) {
        CFStringRef name = static_cast<CFStringRef>(CFArrayGetValueAtIndex(names, i));
        char bytes[256];
        if (!name || CFGetTypeID(name) != CFStringGetTypeID() ||
            !CFStringGetCString(name, bytes, sizeof bytes, kCFStringEncodingMacRoman))
            continue;
        BoyerMoore match(bytes, static_cast<short>(std::strlen(bytes)), head + at, window);
        if (match.Search() >= 0)
            return true;
    }
    return false;
}

bool PPDX::ValidateFileName(CFURLRef url, CFArrayRef names, PPDFile* file) {
    if (!names)
        return true;
    if (file)
        return ValidateAgainstPCFilename(names, file);
    PPDFile* temporary = new (std::nothrow) PPDFile(url);
    bool accepted = ValidateAgainstPCFilename(names, temporary);
    delete temporary;
    return accepted;
}

bool PPDX::NextToken(PPDStream& stream, char* token, const char* delimiters, bool strip) {
    if (!token)
        return false;
    const TokenStops* known = KnownStops(delimiters);
    PPDStream::TokenRead read =
        known ? stream.ReadToken(token, *known) : ReadCustomToken(stream, token, delimiters);
    int stored = read.stored;
    // A CR of a CR LF pair was kept for now; the LF that ended the token drops it.
    if (read.endedAtLF && stored > 0 && token[stored - 1] == '\r') {
        --stored;
        if (read.textLength > stored)
            read.textLength = stored;
    }
    token[stored] = '\0';
    if (stored == 0)
        return false;
    if (strip)
        StripToken(token, read.textLength);
    return true;
}

long PPDX::GetQuotedString(PPDStream& line, char* out, const unsigned long& capacity) {
    if (!out || capacity < 1)
        return 0;
    const long limit = static_cast<long>(capacity) - 1;
    // A line without an opening quote has no value; nothing further is read from the file.
    if (!skipToOpeningQuote(line)) {
        out[0] = '\0';
        return 0;
    }
    long count = 0;
    PPDStream* source = &line;
    char next[PPDStream::kLineBufferSize];
    PPDStream continuation;
    for (;;) {
        long copied = 0;
        PPDStream::CopyEnd end = source->CopyUntil('"', out + count, limit - count, &copied);
        count += copied;
        if (end == PPDStream::CopyEnd::Stop) {
            out[count] = '\0';
            return count == 0 ? 0 : count + 1;
        }
        // A buffer filled exactly at the end of a line is full too: the next line is not read,
        // so it stays in the file for the driver.
        if (end == PPDStream::CopyEnd::Full || count >= limit) {
            out[limit] = '\0';
            return limit;
        }
        // The value goes on in the next non-empty line of the file.
        do {
            if (!mStream || !mStream->GetLine(next))
                return 0;
        } while (next[0] == '\0');
        out[count++] = '\0';
        if (next[0] == '*')
            return count;
        continuation.Setup(next, static_cast<long>(std::strlen(next)));
        source = &continuation;
    }
}

long PPDX::GetPostscriptString(PPDStream& line, char* out, const unsigned long& capacity) {
    if (!out || capacity < 1)
        return 0;
    const long limit = static_cast<long>(capacity) - 1;
    if (!skipToOpeningQuote(line))
        return 0;
    long count = 0;
    PPDStream* source = &line;
    char next[PPDStream::kLineBufferSize];
    PPDStream continuation;
    // A full buffer, like the end of the value, ends the code with an LF.
    auto full = [&]() { return count >= limit; };
    auto finish = [&]() {
        out[count] = '\n';
        return count + 1;
    };
    for (;;) {
        long copied = 0;
        PPDStream::CopyEnd end = source->CopyUntil('"', out + count, limit - count, &copied);
        count += copied;
        if (end == PPDStream::CopyEnd::Stop)
            return count == 0 ? 0 : finish();
        // Full at the very end of a line: the next line is left unread, as in GetQuotedString.
        if (end == PPDStream::CopyEnd::Full || full())
            return finish();
        do {
            if (!mStream || !mStream->GetLine(next))
                return finish();
        } while (next[0] == '\0');
        out[count++] = '\n';
        const char* text = next;
        if (next[0] == '*') {
            // "*%" starts a comment line inside the code; any other keyword ends the value.
            if (next[1] != '%')
                return finish();
            text = next + 2;
        }
        continuation.Setup(text, static_cast<long>(std::strlen(text)));
        source = &continuation;
    }
}

void PPDX::StripLeadingWhiteSpace(char* text) {
    if (!text)
        return;
    char* start = text;
    while (isBlank(*start))
        ++start;
    if (start != text)
        std::memmove(text, start, std::strlen(start) + 1);
}

void PPDX::StripTrailingWhiteSpace(char* text) {
    if (!text || !*text)
        return;
    for (char* end = text + std::strlen(text) - 1; end > text && isBlank(*end); --end)
        *end = '\0';
}

void PPDX::Store(CString*& slot, const char* text) {
    delete slot;
    slot = new (std::nothrow) CString(text);
}

long PPDX::ParsePSKeywords(PPDStream& line, const char* keyword) {
    if (!keyword)
        return 0;
    char value[PPDStream::kLineBufferSize];
    const unsigned long capacity = sizeof value;
    const PPDKeyword key(keyword);
    if (key.Is("*PCFileName")) {
        if (GetQuotedString(line, value, capacity))
            Store(mPCFileName, value);
    } else if (key.Is("*FormatVersion")) {
        if (GetQuotedString(line, value, capacity))
            Store(mFormatVersion, value);
    } else if (key.Is("*FileVersion")) {
        if (GetQuotedString(line, value, capacity))
            Store(mFileVersion, value);
    } else if (key.Is("*ModelName")) {
        if (GetQuotedString(line, value, capacity))
            Store(mModelName, value);
    } else if (key.Is("*LanguageVersion")) {
        if (NextToken(line, value, kLineEndDelimiters, true)) {
            Store(mLanguageVersion, value);
            UpdateTextConverter();
        }
    } else if (key.Is("*LanguageEncoding")) {
        if (NextToken(line, value, kLineEndDelimiters, true)) {
            Store(mLanguageEncoding, value);
            UpdateTextConverter();
        }
    }
    return 0;
}

void PPDX::UpdateTextConverter() {
    if (!mLanguageVersion || !mLanguageEncoding)
        return;
    delete mTextConverter;
    mTextConverter = new (std::nothrow) TextConverter(this);
}
