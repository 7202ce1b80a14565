//===- PigmentorPDESync.cpp - The pane object: initialize and sync --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorPDE.h"

#include "BundleResourceFile.h"
#include "PDEBundleAccess.h"
#include "PPDX.h"
#include "PigmentorData.h"
#include "PrinterInfoTicket.h"
#include "PrinterListFile.h"
#include "PrinterQueries.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"
#include "QRVPPD.h"
#include "SetupPPD.h"
#include "UI_Panel.h"

namespace {

/// A CF object released at the end of the scope.
template <class T> struct Owned {
    T ref;
    explicit Owned(T r = nullptr) : ref(r) {}
    ~Owned() {
        if (ref)
            CFRelease(ref);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
};

/// Whether the printer's PPD file carries one of the PC file names the bundle's printer list
/// accepts; false also without the list.
bool AcceptedByPrinterList(CFURLRef ppd) {
    Owned<CFURLRef> contents(CreatePDEContentsURL(GetBundleID()));
    if (contents.ref == nullptr)
        return false;
    PrinterListFile list(contents.ref, kCFPropertyListImmutable);
    return list.Valid() && PPDX::ValidateFileName(ppd, list.Get(), nullptr);
}

} // namespace

OSStatus PigmentorPDE::Initialize(PMPDEFlags* flags, PMPDERef ref, ControlRef parentUserPane,
                                  PMPrintSession session) {
    StUseResFile useBundle(mResFile);
    PrinterInfoTicket info(session);
    if (!info.Valid() || session == nullptr)
        return 1;
    *flags = kPMPDENoFlags;
    mSession = session;
    mRef = ref;
    mParentUserPane = parentUserPane;

    Owned<CFStringRef> key(CreatePostscriptDataFileKey());
    bool ok = info.Ticket() &&
              PMTicketContainsItem(info.Ticket(), kPMTopLevel, kPMTopLevel, kPMCompiledPPDKey);
    PrintSettingsTicket settings(session);
    QRVJobTicket jobTicket(&settings, key.ref);
    Owned<CFURLRef> ppd;
    if (ok) {
        FSRef ppdRef;
        mLastStatus = GetPPDFile(session, ppd.ref, ppdRef);
        ok = mLastStatus == noErr && ppd.ref != nullptr;
    }
    if (ok && !AcceptedByPrinterList(ppd.ref)) {
        // Not this driver's printer: the job-ticket file item of an earlier printer goes.
        jobTicket.Invalidate(GetBundleID());
        ok = false;
    }
    bool restored = false;
    if (ok) {
        ok = SetupPPD(jobTicket, restored);
        mData = ok ? new PigmentorData(session, mModel, jobTicket, false, nullptr) : nullptr;
        if (mData == nullptr || !mData->Valid()) {
            mLastStatus = memFullErr;
            ok = false;
        }
    }
    if (ok) {
        mPanel = new UI_Panel(mNib, parentUserPane, mData);
        if (!mPanel->Valid()) {
            mLastStatus = memFullErr;
            ok = false;
        }
    }
    if (!ok) {
        // The panel points at the controller and the controller at the model: all three go.
        delete mPanel;
        mPanel = nullptr;
        delete mData;
        mData = nullptr;
        SetModel(nullptr);
        return 1;
    }
    jobTicket.Save(GetBundleID());
    mInitialized = true;
    mLastStatus = noErr;
    return noErr;
}

bool PigmentorPDE::SetupPPD(QRVJobTicket& jobTicket, bool& restored) {
    restored = false;
    CFStringRef identifier = GetBundleID();
    if (identifier == nullptr) {
        mLastStatus = memFullErr;
        return false;
    }
    Owned<CFURLRef> ppd;
    FSRef ppdRef;
    GetPPDFile(mSession, ppd.ref, ppdRef);
    QRVPPD* model = jobTicket.RestorePPD(identifier, ppd.ref);
    if (model)
        restored = true;
    else
        model = ::SetupPPD(mSession, identifier);
    SetModel(model);
    return true;
}

OSStatus PigmentorPDE::Sync(PMPrintSession session, Boolean reinitializePlugIn) {
    StUseResFile useBundle(mResFile);
    PrintSettingsTicket settings(session);
    if (!settings.Valid())
        return 1;
    mSession = session;
    Owned<CFStringRef> key(CreatePostscriptDataFileKey());
    if (key.ref == nullptr) {
        delete mPanel;
        mPanel = nullptr;
        delete mData;
        mData = nullptr;
        SetModel(nullptr);
        return noErr;
    }
    QRVJobTicket jobTicket(&settings, key.ref);
    OSStatus status = noErr;
    bool wrote = false;
    if (!jobTicket.Valid()) {
        status = 1;
    } else if (reinitializePlugIn) {
        // The new model and controller are made before the old ones go: the panel stops its
        // fetch (which works on the old ones) while it is reset to the new controller.
        QRVPPD* oldModel = mModel;
        mModel = nullptr;
        bool restored = false;
        PigmentorData* data = nullptr;
        if (SetupPPD(jobTicket, restored))
            data = new PigmentorData(session, mModel, jobTicket, false, nullptr);
        if (data == nullptr || !data->Valid() || mPanel == nullptr) {
            status = memFullErr;
            delete data;
        } else {
            mPanel->ResetUI(data);
            delete mData;
            mData = data;
            if (mParentUserPane && IsControlVisible(mParentUserPane))
                mPanel->Show();
            wrote = true;
        }
        if (status != noErr) {
            // The panel cannot stay over a controller whose model goes: the pane is emptied
            // until the next loading sync or initialize.
            delete mPanel;
            mPanel = nullptr;
            delete mData;
            mData = nullptr;
        }
        if (oldModel)
            oldModel->Release();
    } else if (mModel && mData) {
        CFStringRef identifier = GetBundleID();
        if (mPanel)
            mPanel->CommitUserChanges();
        mData->SaveSettingsToJobTicket(&settings, identifier);
        mData->OutPostscriptData(jobTicket);
        Owned<CFURLRef> ppd;
        FSRef ppdRef;
        GetPPDFile(session, ppd.ref, ppdRef);
        jobTicket.SavePPD(mModel, identifier, ppd.ref);
        wrote = true;
    }
    if (wrote)
        jobTicket.Save(GetBundleID());
    if (status != noErr)
        SetModel(nullptr);
    mLastStatus = status;
    return status;
}
