//===- QRVPPDJobNotes.cpp - Job-note declarations -------------------------===//
//
// A "*%QRVJobNote" line declares a free-text field: keyword, translation, maximum length and
// flag words. The line after it may give the default text ("*%Default...") or the note's code
// ("*%" and the keyword without its '*'); any other line belongs to the driver and is left
// for it. Notes stand alone (placed in the group "TPQVNotes") or close a "*%QRVFlags" block.
//
//===----------------------------------------------------------------------===//
#include "QRVPPD.h"

#include "KeywordTo_PPDControl.h"
#include "PPDXGroups.h"
#include "PPDXJobNote.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

/// Capacity of a note's PostScript code.
const unsigned long kCodeCapacity = 4096;
/// The delimiters of the first token of the line after a declaration.
const char kFollowUpDelimiters[] = " \t:";
const char kMinLengthWord[] = "MinLength";
const size_t kMinLengthWordLength = sizeof kMinLengthWord - 1;

bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

/// The leading decimal number of `text` as atol reads it, but saturated where atol's result
/// would be undefined.
long leadingNumber(const char* text) {
    return std::strtol(text, nullptr, 10);
}

/// The minimum length that a "MinLength" word with a value carries: after one separator, one
/// or two digits. -1: the first is no digit (or missing); -3: the second is no digit; -2: more
/// than two characters.
long minimumLengthOf(const char* word) {
    const char* digits = word + kMinLengthWordLength + 1;
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (!isDigit(digits[0]))
        return -1;
    if (digits[1] == '\0')
        return digits[0] - '0';
    if (!isDigit(digits[1]))
        return -3;
    if (digits[2] != '\0')
        return -2;
    return (digits[0] - '0') * 10 + (digits[1] - '0');
}

} // namespace

PPDXErrorObj* QRVPPD::ParseJobNote(PPDStream& line) {
    PointerList noFlags;
    return ReadJobNote(line, nullptr, noFlags, nullptr);
}

PPDXErrorObj* QRVPPD::ParseJobNote(PPDStream& line, const char* controlKeyword, PointerList& flags,
                                   PPDXGroup* group) {
    // A block without a keyword can match no declaration: every note keyword is then wrong.
    return ReadJobNote(line, controlKeyword ? controlKeyword : "", flags, group);
}

PPDXErrorObj* QRVPPD::ReadJobNote(PPDStream& line, const char* blockKeyword, PointerList& flags,
                                  PPDXGroup* group) {
    char keyword[PPDStream::kLineBufferSize] = "";
    if (!NextToken(line, keyword, kOptionDelimiters, true) || keyword[0] == '\0' ||
        (blockKeyword && std::strcmp(keyword, blockKeyword) != 0))
        return new (std::nothrow) PPDXErrorObj(6, CString(keyword), false);

    char text[PPDStream::kLineBufferSize] = "";
    NextToken(line, text, kColonDelimiters, true);
    char token[PPDStream::kLineBufferSize];
    long maximumLength = 0;
    if (NextToken(line, token, kFlagDelimiters, true))
        maximumLength = leadingNumber(token);

    JobNoteFlag noteFlags = 0;
    long minimumLength = 0;
    const int accepted = PPDXJobNote::AcceptedFlagWords(sExtensionsSupport);
    while (NextToken(line, token, kFlagDelimiters, true)) {
        int index = PPDXJobNote::FlagWordIndex(token);
        if (index >= accepted)
            return new (std::nothrow) PPDXErrorObj(32, CString(keyword), false);
        if (index >= 0)
            noteFlags |= JobNoteFlag(1) << index;
        else if (blockKeyword && startsWith(token, kMinLengthWord) &&
                 std::strlen(token) > kMinLengthWordLength)
            minimumLength = minimumLengthOf(token);
    }

    CString* defaultText = nullptr;
    unsigned char* code = nullptr;
    long codeLength = 0;
    ReadJobNoteFollowUp(keyword, defaultText, code, codeLength);

    CFStringRef translation = CreateTranslation(text);
    PointerList noFlags;
    PPDXJobNote* note = new (std::nothrow)
        PPDXJobNote(keyword, translation, blockKeyword ? flags : noFlags, code, codeLength,
                    defaultText, mLanguageEncoding, true, maximumLength, noteFlags, minimumLength);
    if (translation)
        CFRelease(translation);
    if (!note) {
        std::free(code);
        delete defaultText;
        return new (std::nothrow) PPDXErrorObj(1, CString(keyword), false);
    }
    if (blockKeyword)
        flags.MakeEmpty(); // the note took the flag words over

    if (!group && mGroups)
        group = mGroups->Find("TPQVNotes", true);
    SetupControl(group, note, false);
    if (mKeywordIndex)
        mKeywordIndex->insert(blockKeyword ? blockKeyword : keyword, note);
    return nullptr;
}

void QRVPPD::ReadJobNoteFollowUp(const char* keyword, CString*& defaultText, unsigned char*& code,
                                 long& codeLength) {
    char next[PPDStream::kLineBufferSize];
    bool ended = ReadBlockLine(next);
    if (!ended) {
        // A line that cannot be read ends the parse: the driver must meet it too.
        UnreadLine(next, false);
        return;
    }
    PPDStream follow(next, static_cast<long>(std::strlen(next)));
    char first[PPDStream::kLineBufferSize];
    if (NextToken(follow, first, kFollowUpDelimiters, true)) {
        if (startsWith(first, "*%Default")) {
            char value[PPDStream::kLineBufferSize];
            if (NextToken(follow, value, kFlagDelimiters, true) && value[0])
                defaultText = new (std::nothrow) CString(value);
            return;
        }
        if (std::strlen(first) >= 2 && std::strcmp(first + 2, keyword + 1) == 0) {
            char buffer[kCodeCapacity];
            long length = GetPostscriptString(follow, buffer, kCodeCapacity);
            if (length > 0) {
                code = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length)));
                if (code) {
                    std::memcpy(code, buffer, static_cast<size_t>(length));
                    codeLength = length;
                }
            }
            return;
        }
    }
    UnreadLine(next, true);
}
