//===- PPDXSpecialOption.cpp - A fixed name-value pair of the PPD ---------===//
#include "PPDXSpecialOption.h"

#include "PPDXArchiveItems.h"

#include <new>

PPDXSpecialOption::PPDXSpecialOption(const char* keyword, CFStringRef translation,
                                     PointerList& flags, char* value, unsigned char* postScript,
                                     const long& postScriptLength, const bool& visible)
    : PPDXControl(keyword, translation, flags, postScript, postScriptLength, visible),
      mValue(new (std::nothrow) CString(value)) {
    mType = kSpecialOptionType;
}

PPDXSpecialOption::PPDXSpecialOption(Settings& settings, const long& id)
    : PPDXControl(settings, id) {
    mType = kSpecialOptionType;
    mValue = PPDXArchive::GetText(settings, PPDXArchive::kSpecialValueTag, id);
    if (!mValue)
        mValue = new (std::nothrow) CString("");
}

PPDXSpecialOption::~PPDXSpecialOption() {
    delete mValue;
}

short PPDXSpecialOption::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = PPDXControl::Save(settings, id);
    if (!error)
        error = PutMarker(settings, kSpecialOptionMarker, id);
    if (!error)
        error = PutText(settings, kSpecialValueTag, id,
                        mValue ? static_cast<const char*>(*mValue) : nullptr);
    return error;
}

short PPDXSpecialOption::Restore(Settings& settings, const long& id) {
    // The value describes the printer: an archive without one must not erase the PPD's.
    if (CString* saved = PPDXArchive::GetText(settings, PPDXArchive::kSpecialValueTag, id)) {
        delete mValue;
        mValue = saved;
    }
    return 0;
}

void PPDXSpecialOption::ResetToDefaultValue() {
    if (mValue)
        *mValue = "";
    else
        mValue = new (std::nothrow) CString("");
}

CFStringRef PPDXSpecialOption::GetCurrentControlValueString() {
    const char* text = mValue ? static_cast<const char*>(*mValue) : nullptr;
    if (!text)
        text = "";
    CFStringRef result =
        CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII);
    // Values are ASCII in every PPD we know; one that is not still reads, byte for byte as
    // Mac Roman, rather than vanishing.
    if (!result)
        result = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingMacRoman);
    return result;
}

void PPDXSpecialOption::SetCurrentControlWithCFString(CFStringRef /*value*/) {
    // The value is the PPD's statement about the printer; the user interface cannot change
    // it, so the request is ignored rather than refused loudly.
}
