//===- PPDXErrorObj.cpp - An error met while reading a PPD ----------------===//
#include "PPDXErrorObj.h"

#include <CarbonCore/Resources.h>

PPDXErrorObj::PPDXErrorObj(const short& code, const CString& keyword, const bool& fatal)
    : CError(code, CString(), fatal), mKeyword(keyword) {
    LoadDescription();
}

PPDXErrorObj::PPDXErrorObj(const short& code, const bool& fatal)
    : CError(code, CString(), fatal) {
    LoadDescription();
}

void PPDXErrorObj::LoadDescription() {
    // The look-up must not disturb whichever resource file the caller has made current.
    short savedResFile = CurResFile();
    Str255 text;
    text[0] = 0;
    if (mCode > 0)
        GetIndString(text, kDescriptionListID, mCode);
    UseResFile(savedResFile);
    if (text[0] == 0)
        return;
    char description[256];
    for (unsigned i = 0; i < text[0]; ++i)
        description[i] = static_cast<char>(text[i + 1]);
    description[text[0]] = '\0';
    mDescription = description;
}
