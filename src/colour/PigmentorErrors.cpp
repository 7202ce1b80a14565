//===- PigmentorErrors.cpp - Status codes of the colour pane --------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorErrors.h"

#include "PDEBundle.h"

CFStringRef PigmentorErrors::PigmentorErrorKey(unsigned long code) {
    static const CFStringRef kKeys[] = {
        CFSTR("kPigmentorNoErr"),
        CFSTR("kPigmentorNoBundleErr"),
        CFSTR("kPigmentorPPDInitErr"),
        CFSTR("kPigmentorServerNameErr"),
        CFSTR("kPigmentorConnErr"),
        CFSTR("kPigmentorPrinterNameErr"),
        CFSTR("kPigmentorNotSupportedErr"),
        CFSTR("kPigmentorNIBErr"),
        CFSTR("kPigmentorWindowErr"),
        CFSTR("kPigmentorItemsListInitErr"),
        CFSTR("kPigmentorControlNotFoundErr"),
        CFSTR("kPigmentorBrivelleInitErr"),
        CFSTR("kPigmentorDeviceErr"),
        CFSTR("kPigmentorTovraneFeaturesErr"),
        CFSTR("kPigmentorSesssionErr"),
        CFSTR("kPigmentorInvalidItemsListErr"),
        CFSTR("kPigmentorRolldownNotFoundErr"),
        CFSTR("kPigmentorNoControlsErr"),
        CFSTR("kPigmentorItemsNotInitialized"),
        CFSTR("kPigmentorPPDErr"),
        CFSTR("kPigmentorMemoryErr"),
        CFSTR("kPigmentorBidiPPDErr"),
        CFSTR("kPigmentorParamErr"),
        CFSTR("kPigmentorHostNotFoundErr"),
        CFSTR("kPigmentorServerErr"),
    };
    if (code < sizeof kKeys / sizeof kKeys[0])
        return kKeys[code];
    if (code == kPigmentorUserCancelErr)
        return CFSTR("kPigmentorUserCancelErr");
    if (code == kPigmentorGeneralErr)
        return CFSTR("kPigmentorGeneralErr");
    return nullptr;
}

CFStringRef PigmentorErrors::PigmentorErrorString(unsigned long code) {
    return PigmentorErrorString(PigmentorErrorKey(code));
}

CFStringRef PigmentorErrors::PigmentorErrorString(CFStringRef key) {
    if (!key)
        return nullptr;
    return PDEBundle::GetLocalizedCFStringFromFile(key, CFSTR("PigmentorErr"));
}
