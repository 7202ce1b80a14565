//===- PigmentorData.h - The model behind the colour pane -------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORDATA_H
#define PIGMENTOR_COLOUR_PIGMENTORDATA_H

#include "CString.h"

#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PMCore.h>

class ExpertColorFeatures;
class PigmentorPaneItemList;
class PigmentorPPDItemList;
class PigmentorProgressHandler;
class PPDXControls;
class PPDXPopupControl;
class PPDXRollDown;
class PrinterInfoTicket;
class PrintSettingsTicket;
class QRVJobTicket;
class QRVPPD;
class QRVTovranePrinterPList;

/// What `PigmentorData::SetColorMode` selects in the print-mode control.
enum ColorModeValues {
    kColorModeStandard = 0,  ///< the "CMYK" item
    kColorModeGrayscale = 1, ///< the grayscale item ("Grayscale" or "GRAY")
    kColorModeExpert = 2,    ///< the "Expert" item when the PPD has one, else "CMYK"
};

/// The print-mode values kept in the print settings ticket.
enum : int {
    kPrintModeNotSet = -1,
    kPrintModeStandard = 1,
    kPrintModeExpert = 2,
    kPrintModeGrayscale = 3,
};

/// The model behind the colour pane. It checks that the printer's PPD model has what the pane
/// needs (the page "QVPPTarvoPrint", the colour roll-down "TPPigmentor" or "TPColor" and a
/// print-mode control "*QVColorMode" whose items are all known, unless the special option
/// "*Pigmentor" says the pane works without one), holds the print mode, owns the expert colour
/// features (and through them the pane and expert item lists), writes the print mode into the
/// print settings ticket and the colour feature code into the job ticket, gives the colour lines
/// of the print dialog's summary and keeps the per-printer two-way server address in the
/// user's preference file.
///
/// Ownership: the model is borrowed (it must outlive this object; the colour controls found
/// in it are the model's); the printer information ticket, the expert colour features, the
/// address list, the two titles and the copy of the two-way address are owned. The print
/// session must outlive the object. Texts are in the application's text encoding (UTF-8)
/// except the keywords read from the PPD, which keep its bytes.
///
/// Threads: the print dialog's main thread only. While the expert colour features fetch in the
/// background, the expert list is null and the output and summary leave it out. The summary
/// cursor is process-wide, shared by every instance.
class PigmentorData {
public:
    /// Checks `model` and builds the expert colour features (two-way on `serverName` when
    /// `twoWay`; the fetch runs in the background). `jobTicket` is not used while building.
    PigmentorData(PMPrintSession session, QRVPPD* model, QRVJobTicket& jobTicket, bool twoWay,
                  const char* serverName);
    ~PigmentorData();
    PigmentorData(const PigmentorData&) = delete;
    PigmentorData& operator=(const PigmentorData&) = delete;

    /// Whether the PPD was accepted and the expert colour features exist.
    bool Valid() const { return mValid; }

    // -- print mode ---------------------------------------------------------------------------
    /// Selects the item of the print-mode control that `mode` names; other values do nothing.
    void SetColorMode(ColorModeValues mode);
    /// Stores a copy of `title` and `value` (1 standard, 2 expert, 3 grayscale); a null title
    /// changes nothing.
    void SetColorModeValue(CFStringRef title, int value);
    /// `value` = the print-mode value (-1 while not set).
    void GetColorModeValue(int& value) const { value = mColorModeValue; }
    /// Stores a copy of `title`; null is ignored.
    void SetPrintModeTitle(CFStringRef title);
    /// The print-mode title (not retained), or null.
    CFStringRef GetPrintModeTitle() const { return mPrintModeTitle; }
    /// The print-mode value title (not retained), or null.
    CFStringRef GetColorModeValueTitle() const { return mColorModeValueTitle; }
    /// Copies the display text of the print-mode control's current item into `buffer` (256
    /// bytes, cut at a character boundary) and returns the control's value; 0 without the
    /// control or when the value lies beyond the item count.
    int GetColorModeValueKeyword(char* buffer);
    /// The print-mode control's item keywords as the PPD spells them ("" when absent).
    const char* GetStandardColorKeyword() const { return keywordOrEmpty(mStandardKeyword); }
    const char* GetGrayscaleColorKeyword() const { return keywordOrEmpty(mGrayscaleKeyword); }
    const char* GetExpertColorKeyword() const { return keywordOrEmpty(mExpertKeyword); }
    /// The print-mode control's item named "QVColorModeDEF" ("" when absent).
    const char* GetDefaultColorKeyword() const { return keywordOrEmpty(mDefaultKeyword); }
    /// Whether the print-mode control has an "Expert" item.
    bool ExpertColorDefinedInPPD() const { return !mExpertKeyword.Empty(); }
    /// The print-mode control "*QVColorMode" (the model's), or null.
    PPDXPopupControl* GetColorModePPDControl() const { return mColorMode; }
    /// The colour roll-down (the model's), or null.
    PPDXRollDown* GetColorRollDown() const { return mRollDown; }

    // -- pane controls ------------------------------------------------------------------------
    /// The value of each pane control; 0 when the control is absent.
    long GetSeparation() const;
    long GetBrightNess() const;
    long GetImageSmoothing() const;
    long GetSubstColor() const;
    /// The pane controls (the model's), each null when absent or not a popup.
    PPDXPopupControl* GetColorSeparationPPDControl() const { return mSeparation; }
    PPDXPopupControl* GetBrightnessPPDControl() const { return mBrightness; }
    PPDXPopupControl* GetImageSmoothingPPDControl() const { return mImageSmoothing; }
    PPDXPopupControl* GetColorSubstPPDControl() const { return mSubstColor; }
    /// `title` = the control's user name, `value` = the display name of its current item;
    /// false (nothing changed) without the control or either text.
    bool ReportColorSeparation(CFMutableStringRef title, CFMutableStringRef value);
    bool ReportColorBrightness(CFMutableStringRef title, CFMutableStringRef value);
    bool ReportImageSmoothing(CFMutableStringRef title, CFMutableStringRef value);
    bool ReportColorSubst(CFMutableStringRef title, CFMutableStringRef value);

    // -- expert colour features ---------------------------------------------------------------
    /// The expert colour features (owned by this object), or null.
    ExpertColorFeatures* GetExpertColorFeatures() const { return mExpertColorFeatures; }
    /// The expert item list, null without one or while a background fetch runs.
    PigmentorPPDItemList* GetExpertColorFeaturesList() const;
    /// The pane item list, or null.
    PigmentorPaneItemList* GetPigmentorPaneItemList() const;
    /// The expert colour features' status code (0 without them).
    unsigned long GetPigmentorErr() const;
    /// Rebuilds the expert list for `model` (when non-null, it replaces the stored one) and
    /// the server; null in asynchronous mode or without expert colour features, else the
    /// new expert list.
    PigmentorPPDItemList* UpdateSettings(QRVPPD* model, bool twoWay, const char* serverName,
                                         bool refresh);
    /// Sets the asynchronous mode and the progress handler (not owned) of the features.
    void AddProgressHandler(PigmentorProgressHandler* handler, bool async);

    // -- tickets and job output ---------------------------------------------------------------
    /// Stores the print-mode value as the 32-bit item "<bundle id>.ColorMode" of `clientID`,
    /// unlocked; false while the value is not set, else whether the ticket took it.
    bool SaveSettingsToJobTicket(PrintSettingsTicket* ticket, CFStringRef clientID);
    /// Takes the print-mode value from that item; the ticket's status.
    OSStatus RestoreSettingsFromJobTicket(PrintSettingsTicket* ticket);
    /// Adds the colour feature code to `ticket`: the bare keywords at site -9
    /// (SupressApplePostscript), then at site 81 the print mode's code, each pane control's and
    /// each expert feature's, in that order, stopping at the first failed add. Returns 0.
    OSStatus OutPostscriptData(QRVJobTicket& ticket);
    /// Adds at site -9 the keyword of the print-mode control, of every pane item and of every
    /// expert item, so that the filter drops the system's own code for them. Returns 0.
    OSStatus SupressApplePostscript(QRVJobTicket& ticket);

    // -- summary ------------------------------------------------------------------------------
    /// The next colour line of the summary: the print mode, then each pane feature, then each
    /// expert feature (each feature once: of two-way items of one feature, the last); false
    /// (and the next call starts again) after the last one.
    bool GetSummaryLine(CFMutableStringRef title, CFMutableStringRef value, bool& enabled);
    /// `title` = the print-mode title, `value` = the print-mode value title (each when set);
    /// true when both are set.
    bool ReportColorMode(CFMutableStringRef title, CFMutableStringRef value);

    // -- two-way server addresses -------------------------------------------------------------
    /// Rereads the user's address list; whether it is valid.
    bool ResetTovranePrinterList();
    /// The address stored for `printer`, which becomes the two-way address (not retained;
    /// valid until the next call), or null; `ipEnabled`, when given and the printer is
    /// listed, receives its two-way-by-address flag.
    CFStringRef GetTovranePrinterAddress(CFStringRef printer, bool* ipEnabled);
    /// Stores `address` for `printer` (null: the current printer) and saves the list; whether
    /// it was saved.
    bool SetTovranePrinterAddress(CFStringRef printer, CString* address, bool ipEnabled);
    /// Sets and saves the current printer's two-way-by-address flag; whether it was saved.
    bool SetIPAddressEnabled(bool enabled);
    /// The current printer's name (not retained), or null.
    CFStringRef GetCurrentPrinterName() const { return mPrinterName; }
    /// The two-way address found for the current printer (not retained), or null.
    CFStringRef GetTwoWayAddress() const { return mTwoWayAddress; }

private:
    static const char* keywordOrEmpty(const CString& keyword) {
        return keyword.Empty() ? "" : static_cast<const char*>(keyword);
    }
    bool VerifyPPD(QRVPPD* model);
    bool VerifyPPDControls(PPDXRollDown* rollDown, PPDXControls* modelControls);
    bool VerifyColorModeControl(PPDXPopupControl* control);
    /// Empties the eight print-mode texts (a control that failed the check leaves none).
    void ClearColorModeTexts();

    PrinterInfoTicket* mPrinterInfo = nullptr;
    QRVPPD* mModel = nullptr;
    PPDXRollDown* mRollDown = nullptr;
    PPDXPopupControl* mColorMode = nullptr;
    CString mStandardKeyword, mStandardName;
    CString mGrayscaleKeyword, mGrayscaleName;
    CString mExpertKeyword, mExpertName;
    CString mDefaultKeyword, mDefaultName;
    PPDXPopupControl* mSeparation = nullptr;
    PPDXPopupControl* mBrightness = nullptr;
    PPDXPopupControl* mImageSmoothing = nullptr;
    PPDXPopupControl* mSubstColor = nullptr;
    ExpertColorFeatures* mExpertColorFeatures = nullptr;
    CFStringRef mPrinterName = nullptr;
    CFStringRef mTwoWayAddress = nullptr;
    QRVTovranePrinterPList* mPrinterList = nullptr;
    bool mValid = false;
    CFStringRef mColorModeValueTitle = nullptr;
    CFStringRef mPrintModeTitle = nullptr;
    int mColorModeValue = kPrintModeNotSet;
};

#endif // PIGMENTOR_COLOUR_PIGMENTORDATA_H
