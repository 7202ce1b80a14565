//===- PPDXBooleanControl.cpp - A True/False option -----------------------===//
#include "PPDXBooleanControl.h"

#include "PPDXArchiveItems.h"

#include <cstdlib>

namespace {

const char* textOf(const CString* s) {
    return s ? static_cast<const char*>(*s) : nullptr;
}

} // namespace

PPDXBooleanControl::PPDXBooleanControl(const char* keyword, CFStringRef localName,
                                       PointerList& flags, const bool& visible, CString* trueText,
                                       unsigned char* truePS, long truePSLength, CString* falseText,
                                       unsigned char* falsePS, long falsePSLength,
                                       const bool& defaultValue)
    : PPDXControl(keyword, localName, flags, nullptr, 0, visible), mValue(defaultValue),
      mDefault(defaultValue), mTrueText(trueText), mFalseText(falseText), mTruePS(truePS),
      mTruePSLength(truePSLength), mFalsePS(falsePS), mFalsePSLength(falsePSLength) {
    mType = kBooleanType;
}

PPDXBooleanControl::PPDXBooleanControl(Settings& settings, const long& id)
    : PPDXControl(settings, id) {
    using namespace PPDXArchive;
    mType = kBooleanType;
    mTrueText = GetText(settings, kTrueTextTag, id);
    mFalseText = GetText(settings, kFalseTextTag, id);
    GetBool(settings, kBooleanValueTag, id, mValue);
    GetBool(settings, kBooleanDefaultTag, id, mDefault);
    mTruePS = CopyBytes(settings, kTrueCodeTag, id, mTruePSLength);
    mFalsePS = CopyBytes(settings, kFalseCodeTag, id, mFalsePSLength);
}

PPDXBooleanControl::~PPDXBooleanControl() {
    delete mTrueText;
    delete mFalseText;
    std::free(mTruePS);
    std::free(mFalsePS);
}

short PPDXBooleanControl::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = PPDXControl::Save(settings, id);
    if (!error)
        error = PutMarker(settings, kBooleanMarker, id);
    if (!error)
        error = PutBool(settings, kBooleanValueTag, id, mValue);
    if (!error)
        error = PutBool(settings, kBooleanDefaultTag, id, mDefault);
    if (!error)
        error = PutText(settings, kTrueTextTag, id, TrueDisplayText());
    if (!error)
        error = PutText(settings, kFalseTextTag, id, FalseDisplayText());
    if (!error)
        error = PutBytes(settings, kTrueCodeTag, id, mTruePS, TruePSLength());
    if (!error)
        error = PutBytes(settings, kFalseCodeTag, id, mFalsePS, FalsePSLength());
    return error;
}

short PPDXBooleanControl::Restore(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = 0;
    if (!Has(settings, kBooleanValueTag, id, &error))
        return error;
    // An item of the wrong size is damaged rather than missing: the value stays as parsed.
    GetBool(settings, kBooleanValueTag, id, mValue);
    return 0;
}

long PPDXBooleanControl::PostScript(unsigned char* out) {
    if (!Keyword())
        return 0;
    if (mValue)
        return GeneratePSOutputData(out, mTruePS, TruePSLength(), "True", true);
    return GeneratePSOutputData(out, mFalsePS, FalsePSLength(), "False", true);
}

CFStringRef PPDXBooleanControl::GetCurrentControlValueString() {
    return CFStringCreateWithCString(kCFAllocatorDefault, mValue ? "True" : "False",
                                     kCFStringEncodingASCII);
}

void PPDXBooleanControl::SetCurrentControlWithCFString(CFStringRef value) {
    static const char kTrue[] = "true";
    bool isTrue = value && CFStringGetLength(value) >= 4;
    for (CFIndex i = 0; isTrue && i < 4; ++i) {
        UniChar c = CFStringGetCharacterAtIndex(value, i);
        if (c >= 'A' && c <= 'Z')
            c = static_cast<UniChar>(c - 'A' + 'a');
        isTrue = c == static_cast<UniChar>(kTrue[i]);
    }
    mValue = isTrue;
}

const char* PPDXBooleanControl::TrueDisplayText() const {
    return textOf(mTrueText);
}

const char* PPDXBooleanControl::FalseDisplayText() const {
    return textOf(mFalseText);
}
