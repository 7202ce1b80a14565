//===- PigmentorPDE.cpp - The pane object: making, showing, summary -------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorPDE.h"

#include "BundleResourceFile.h"
#include "PDEBundle.h"
#include "PigmentorData.h"
#include "QRVPPD.h"
#include "UI_Panel.h"

PigmentorPDE::PigmentorPDE() {
    CFBundleRef bundle = GetBundleRef();
    if (bundle == nullptr)
        return;
    mResFile = OpenBundleResourceFile(bundle);
    if (mResFile == kResFileNotOpened)
        return;
    mBundle = bundle;
    PDEBundle::InitBundle(bundle);
    CFStringRef nibName = CreateNIBFileName();
    if (nibName == nullptr) {
        mLastStatus = memFullErr;
        return;
    }
    mLastStatus = CreateNibReferenceWithCFBundle(bundle, nibName, &mNib);
    CFRelease(nibName);
    if (mLastStatus != noErr) {
        mNib = nullptr;
        return;
    }
    mTitle = PDEBundle::GetLocalizedCFString(CFSTR("PDE Panel Title"));
    mValid = mTitle != nullptr;
}

PigmentorPDE::~PigmentorPDE() {
    if (mOwnedString)
        CFRelease(mOwnedString);
    if (mResFile != kResFileNotOpened)
        CloseResFile(mResFile);
    // The panel goes first: it stops a running fetch, which works on the controller's lists
    // and the model's colour controls.
    delete mPanel;
    mPanel = nullptr;
    if (mNib)
        DisposeNibReference(mNib);
    delete mData;
    mData = nullptr;
    SetModel(nullptr);
    if (mTitle)
        CFRelease(mTitle);
}

void PigmentorPDE::SetModel(QRVPPD* model) {
    if (mModel)
        mModel->Release();
    mModel = model;
}

OSStatus PigmentorPDE::GetSummaryText(CFArrayRef* titles, CFArrayRef* values) {
    StUseResFile useBundle(mResFile);
    if (titles)
        *titles = nullptr;
    if (values)
        *values = nullptr;
    CFMutableArrayRef titleList = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    CFMutableArrayRef valueList = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    OSStatus status = noErr;
    if (titleList == nullptr || valueList == nullptr)
        status = memFullErr;
    else if (mData == nullptr)
        status = noErr;
    else if (titles == nullptr || values == nullptr)
        status = kPMInvalidPDEContext;
    else {
        for (;;) {
            CFMutableStringRef title = CFStringCreateMutable(nullptr, 0);
            CFMutableStringRef value = CFStringCreateMutable(nullptr, 0);
            bool enabled = false;
            const bool more = title && value && mData->GetSummaryLine(title, value, enabled);
            if (more) {
                CFArrayAppendValue(titleList, title);
                CFArrayAppendValue(valueList, value);
            } else if (title == nullptr || value == nullptr) {
                status = memFullErr;
            }
            if (title)
                CFRelease(title);
            if (value)
                CFRelease(value);
            if (!more)
                break;
        }
    }
    if (mData && status == noErr && titles && values && CFArrayGetCount(titleList) > 0) {
        *titles = titleList;
        *values = valueList;
        return status;
    }
    if (titleList)
        CFRelease(titleList);
    if (valueList)
        CFRelease(valueList);
    return status;
}

OSStatus PigmentorPDE::Open() {
    if (mPanel)
        mPanel->Show();
    return noErr;
}

OSStatus PigmentorPDE::Close() {
    if (mPanel)
        mPanel->Hide();
    return noErr;
}
