//===- QRVPPDShortcuts.cpp - Shortcuts and special options ----------------===//
//
// "*%QVShortcut" lines name controls for quick access; they may stand before or after the
// block of their control, so the keywords wait until the parse ends to be bound.
// "*%QRVSpecialOption" lines give fixed name-value pairs that become hidden controls.
//
//===----------------------------------------------------------------------===//
#include "QRVPPD.h"

#include "PPDXControls.h"
#include "PPDXShortcuts.h"
#include "PPDXSpecialOption.h"

#include <new>

PPDXErrorObj* QRVPPD::ParseShortcut(PPDStream& line) {
    char keyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, keyword, kLineEndDelimiters, true) || keyword[0] == '\0')
        return nullptr;
    if (!PPDXControl::ValidKeyword(keyword))
        return new (std::nothrow) PPDXErrorObj(19, CString(keyword), false);
    CString* copy = new (std::nothrow) CString(keyword);
    if (copy && !mShortcutKeywords.PushBack(copy).mNode)
        delete copy;
    return nullptr;
}

void QRVPPD::ResolveShortcuts() {
    PointerList found;
    for (PointerListItr it = mShortcutKeywords.Begin(); it != mShortcutKeywords.End(); ++it) {
        const CString* keyword = static_cast<const CString*>(*it);
        if (!keyword || !static_cast<const char*>(*keyword))
            continue;
        CNTL_TYPE type;
        PPDXControl* control = mControls ? mControls->Find(*keyword, type, true) : nullptr;
        if (control)
            found.PushBack(control);
        else
            AddError(new (std::nothrow) PPDXErrorObj(19, *keyword, false));
    }
    delete mShortcuts;
    mShortcuts = new (std::nothrow) PPDXShortcuts(found);
}

PPDXErrorObj* QRVPPD::ParseSpecialOption(PPDStream& line) {
    char keyword[PPDStream::kLineBufferSize];
    if (!NextToken(line, keyword, kColonDelimiters, true) || keyword[0] == '\0')
        return nullptr;
    char value[PPDStream::kLineBufferSize];
    if (!NextToken(line, value, kLineEndDelimiters, true) || value[0] == '\0')
        return nullptr;
    // The keyword is its own translation. Met before the PPD names its language, it is read
    // the way every early translation is (CreateTranslation), so the option is still made.
    CFStringRef translation = CreateTranslation(keyword);
    PointerList noFlags;
    PPDXSpecialOption* option = new (std::nothrow)
        PPDXSpecialOption(keyword, translation, noFlags, value, nullptr, 0, false);
    if (translation)
        CFRelease(translation);
    if (option)
        SetupControl(nullptr, option, false);
    return nullptr;
}
