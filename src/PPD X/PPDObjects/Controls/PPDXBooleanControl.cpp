//===- PPDXBooleanControl.cpp - A True/False option -----------------------===//
#include "PPDXBooleanControl.h"

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

PPDXBooleanControl::~PPDXBooleanControl() {
    delete mTrueText;
    delete mFalseText;
    std::free(mTruePS);
    std::free(mFalsePS);
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
