//===- PigmentorPDE.h - The colour pane behind the extension table -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PLUGIN_PIGMENTORPDE_H
#define PIGMENTOR_PDE_PLUGIN_PIGMENTORPDE_H

#include "PDEIdentity.h"

#include <CarbonCore/Resources.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/IBCarbonRuntime.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

class PigmentorData;
class QRVJobTicket;
class QRVPPD;
class UI_Panel;

/// The pane object of the colour pane: what the print dialog's extension table (PDEPlugIn.h)
/// drives. Prologue makes it; Initialize builds the PPD model (from the print settings ticket
/// when one was saved there, else from the printer's PPD), the colour data controller and the
/// panel in the dialog's user pane; Sync loads the pane from the ticket (true) or writes the
/// print mode, the colour feature code, the model's archive and the job-ticket file (false);
/// GetSummaryText gives the colour lines; Open and Close show and hide the panel.
///
/// Ownership: owns the model (one reference, released when replaced or with the pane), the
/// controller, the panel, the title, its NIB reference and its open resource file; the print
/// session and the parent user pane are the print dialog's and must outlive the pane. A loading
/// sync replaces model and controller; the panel lives from Initialize to destruction.
///
/// Statuses: 0, -108 (memFullErr) when something cannot be made, -9530 (kPMInvalidPDEContext)
/// for a null out pointer, 1 when the pane cannot work with the printer (Initialize) or the
/// session has no print settings ticket (Sync). Main thread only.
class PigmentorPDE {
public:
    // What the plug-in entry reads (PDEPaneClassOf).
    static CFStringRef BundleID() { return GetBundleID(); }
    static CFStringRef CreateNIBName() { return CreateNIBFileName(); }
    enum : OSType { kCreator = 'QRV1' };
    enum : UInt32 { kPaneWidth = 525, kPaneHeight = 200 };

    /// Finds the bundle, opens its resource file and the NIB "Pigmentor" and takes the
    /// localised title; Valid() tells whether all of that succeeded.
    PigmentorPDE();
    virtual ~PigmentorPDE();
    PigmentorPDE(const PigmentorPDE&) = delete;
    PigmentorPDE& operator=(const PigmentorPDE&) = delete;

    bool Valid() const { return mValid; }
    bool Initialized() const { return mInitialized; }
    /// The localised pane title (not retained; lives with the pane), or null.
    CFStringRef Title() const { return mTitle; }
    OSStatus LastStatus() const { return mLastStatus; }

    /// Builds model, controller and panel for `session`'s printer in `parentUserPane`; 0, or 1
    /// when the printer is not one of this driver's or something could not be built.
    OSStatus Initialize(PMPDEFlags* flags, PMPDERef ref, ControlRef parentUserPane,
                        PMPrintSession session);
    /// The model for the printer: restored from `jobTicket`'s archive when there is one (then
    /// `restored` is true), else parsed from the printer's PPD; false (-108) without a bundle
    /// identifier. The model is null when neither gave a valid one.
    bool SetupPPD(QRVJobTicket& jobTicket, bool& restored);
    /// Loads the pane from the ticket (`reinitializePlugIn` true) or writes it (false).
    OSStatus Sync(PMPrintSession session, Boolean reinitializePlugIn);
    /// The summary's colour lines as two new arrays (the caller releases them), both null
    /// when there is no line; 0 and no arrays without a controller.
    OSStatus GetSummaryText(CFArrayRef* titles, CFArrayRef* values);
    OSStatus Open();
    OSStatus Close();

    /// The model, the controller and the panel (owned by the pane), each possibly null.
    QRVPPD* Model() const { return mModel; }
    PigmentorData* Data() const { return mData; }
    UI_Panel* Panel() const { return mPanel; }

private:
    /// Replaces the owned model (releasing the old one).
    void SetModel(QRVPPD* model);

    PMPrintSession mSession = nullptr;
    PMPDERef mRef = nullptr;
    ResFileRefNum mResFile = kResFileNotOpened;
    CFStringRef mOwnedString = nullptr;
    ControlRef mParentUserPane = nullptr;
    CFBundleRef mBundle = nullptr;
    IBNibRef mNib = nullptr;
    UI_Panel* mPanel = nullptr;
    CFStringRef mTitle = nullptr;
    PigmentorData* mData = nullptr;
    QRVPPD* mModel = nullptr;
    bool mValid = false;
    bool mInitialized = false;
    OSStatus mLastStatus = noErr;
};

#endif // PIGMENTOR_PDE_PLUGIN_PIGMENTORPDE_H
