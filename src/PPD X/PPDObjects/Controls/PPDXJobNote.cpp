//===- PPDXJobNote.cpp - A free-text field of the job ---------------------===//
#include "PPDXJobNote.h"

#include "PPDXArchiveItems.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

/// The declaration's flag words in table order; word i sets bit 1 << i.
const char* const kFlagWords[PPDXJobNote::kFlagWordCount] = {
    "Alpha",         "Numeric", "Decimal",      "Required",   "Remembered", "Password",
    "AlwaysDisplay", "Resume",  "Member",       "OnOfSwitch", "LengthReq",  "SecPrint",
    "Command",       "Space",   "Negative",     "Encrypt",    "MultiSpace", "MultiComma",
    "LCD",           "Hyphen",  "TwoCharField", "NoComma",    "MinLength"};

const char* textOf(const CString* s) {
    return s ? static_cast<const char*>(*s) : nullptr;
}

bool equals(const char* a, const char* b) {
    return a && b && std::strcmp(a, b) == 0;
}

} // namespace

PPDXJobNote::PPDXJobNote(const char* keyword, CFStringRef localName, PointerList& flags,
                         unsigned char* psData, const long& psLength, CString* defaultText,
                         CString* languageEncoding, const bool& visible, const long& maximumLength,
                         const JobNoteFlag& jobNoteFlags, const long& minimumLength)
    : PPDXControl(keyword, localName, flags, psData, psLength, visible),
      mMaxLength(Saturate32(maximumLength)), mMinLength(Saturate32(minimumLength)),
      mJobNoteFlags(jobNoteFlags), mDefaultText(defaultText) {
    mType = kJobNoteType;
    if (textOf(mDefaultText))
        mText = new (std::nothrow) CString(*mDefaultText);
    if (textOf(languageEncoding))
        mLanguageEncoding = new (std::nothrow) CString(*languageEncoding);
}

PPDXJobNote::PPDXJobNote(Settings& settings, const long& id, CString* languageEncoding)
    : PPDXControl(settings, id) {
    using namespace PPDXArchive;
    mType = kJobNoteType;
    mText = GetText(settings, kNoteTextTag, id);
    mDefaultText = GetText(settings, kNoteDefaultTextTag, id);
    GetNumber(settings, kNoteMaxLengthTag, id, mMaxLength);
    GetNumber(settings, kNoteMinLengthTag, id, mMinLength);
    int32_t flags = 0;
    if (GetNumber(settings, kNoteFlagsTag, id, flags))
        mJobNoteFlags = static_cast<JobNoteFlag>(flags);
    GetBool(settings, kNoteTextEnabledTag, id, mTextEnabled);
    if (textOf(languageEncoding))
        mLanguageEncoding = new (std::nothrow) CString(*languageEncoding);
}

PPDXJobNote::~PPDXJobNote() {
    delete mText;
    delete mDefaultText;
    delete mLanguageEncoding;
}

short PPDXJobNote::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = PPDXControl::Save(settings, id);
    if (!error)
        error = PutMarker(settings, kJobNoteMarker, id);
    if (!error)
        error = PutText(settings, kNoteTextTag, id, GetNotes());
    if (!error)
        error = PutText(settings, kNoteDefaultTextTag, id, GetDefaultNotes());
    if (!error)
        error = PutNumber(settings, kNoteMaxLengthTag, id, mMaxLength);
    if (!error)
        error = PutNumber(settings, kNoteMinLengthTag, id, mMinLength);
    if (!error)
        error = PutNumber(settings, kNoteFlagsTag, id, static_cast<int32_t>(mJobNoteFlags));
    if (!error)
        error = PutBool(settings, kNoteTextEnabledTag, id, mTextEnabled);
    return error;
}

short PPDXJobNote::Restore(Settings& settings, const long& id) {
    CString* text = PPDXArchive::GetText(settings, PPDXArchive::kNoteTextTag, id);
    SetNotes(textOf(text));
    delete text;
    return 0;
}

bool PPDXJobNote::OkayToDisplay(const _DISPLAY_OPTIONS_& options) const {
    // A note is a field of the job rather than an option of a page: whether it has a group
    // does not decide whether it is shown.
    if (options == 0 || options == kShowOrphans)
        return IsVisible();
    return true;
}

const char* PPDXJobNote::GetNotes() const {
    return textOf(mText);
}

const char* PPDXJobNote::GetDefaultNotes() const {
    return textOf(mDefaultText);
}

const char* PPDXJobNote::LanguageEncoding() const {
    return textOf(mLanguageEncoding);
}

void PPDXJobNote::SetNotes(const char* text) {
    mPSCache.Drop();
    if (!text) {
        delete mText;
        mText = nullptr;
    } else if (mText) {
        *mText = text;
    } else {
        mText = new (std::nothrow) CString(text);
    }
}

CFStringRef PPDXJobNote::GetCurrentControlValueString() {
    const char* text = GetNotes() ? GetNotes() : "";
    CFStringRef result =
        CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII);
    // A user may type any character of the system encoding (UTF-8); bytes that are not valid
    // there still read back, one character each.
    if (!result)
        result = CFStringCreateWithCString(kCFAllocatorDefault, text, CFStringGetSystemEncoding());
    if (!result)
        result = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingMacRoman);
    return result;
}

void PPDXJobNote::SetCurrentControlWithCFString(CFStringRef value) {
    mPSCache.Drop();
    if (!value) {
        SetNotes(nullptr);
    } else if (mText) {
        *mText = value;
    } else {
        mText = new (std::nothrow) CString(value);
    }
}

long PPDXJobNote::PostScript(unsigned char* out) {
    const char* text = GetNotes();
    if (!text || !Keyword())
        return 0;
    if (mPSCache.Empty()) {
        if (PSLength() > 0) {
            char limited[kMaxPDLText + 1];
            size_t length = strnlen(text, kMaxPDLText);
            std::memcpy(limited, text, length);
            limited[length] = '\0';
            BuildValueCache(limited, mPSCache);
        } else {
            BuildPDLString(text);
        }
    }
    return GeneratePSOutputData(out, mPSCache.Bytes(), mPSCache.Length(), text, true);
}

long PPDXJobNote::BuildPDLString(const char* text) {
    mPSCache.Drop();
    if (!text)
        text = "";
    const char* prefix = nullptr;
    if (Resume())
        prefix = "%%PersPassword: ";
    else if (IsMember())
        prefix = "%%DeptPassword: ";
    else if (equals(Keyword(), "*Notes1"))
        prefix = "%%QRVCustom1: ";
    else if (equals(Keyword(), "*Notes2"))
        prefix = "%%QRVCustom2: ";
    else if (equals(Keyword(), "*Instruc"))
        prefix = "%%QRVCustom3: ";

    static const char kEmptyOption[] = "%%EmptyOption\n\n";
    size_t textLength = prefix ? strnlen(text, kMaxPDLText) : 0;
    size_t length = prefix ? std::strlen(prefix) + textLength + 1 : sizeof kEmptyOption - 1;
    unsigned char* line = static_cast<unsigned char*>(std::malloc(length));
    if (!line)
        return 0;
    if (prefix) {
        size_t prefixLength = std::strlen(prefix);
        std::memcpy(line, prefix, prefixLength);
        std::memcpy(line + prefixLength, text, textLength);
        line[length - 1] = '\n';
    } else {
        std::memcpy(line, kEmptyOption, length);
    }
    mPSCache.Adopt(line, static_cast<long>(length));
    return mPSCache.Length();
}

int PPDXJobNote::FlagWordIndex(const char* word) {
    if (!word)
        return -1;
    for (int i = 0; i < kFlagWordCount; ++i)
        if (std::strcmp(word, kFlagWords[i]) == 0)
            return i;
    return -1;
}

int PPDXJobNote::AcceptedFlagWords(uint32_t extensionLevel) {
    switch (extensionLevel) {
    case 0:
        return 9;
    case 1:
        return 12;
    case 2:
        return 15;
    default:
        return kFlagWordCount;
    }
}
