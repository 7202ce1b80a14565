//===- PigmentorData.cpp - The model behind the colour pane ---------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
// Construction, the PPD check and the print mode. The job output, the summary and the
// address list live in the PigmentorData*.cpp files beside this one.
//
//===----------------------------------------------------------------------===//
#include "PigmentorData.h"

#include "ColourText.h"
#include "ExpertColorFeatures.h"
#include "ExpertColorKeywords.h"
#include "PigmentorItemList.h"

#include "PPDXControls.h"
#include "PPDXGroup.h"
#include "PPDXGroups.h"
#include "PPDXPopupControl.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRollDown.h"
#include "QRVPPD.h"
#include "_PopupItem.h"

#include "PrintSettingsTicket.h"
#include "PrinterInfoTicket.h"
#include "PrinterQueries.h"
#include "QRVTovranePrinterPList.h"

#include <cstring>
#include <initializer_list>

namespace {

const char kPrintPage[] = "QVPPTarvoPrint";
const char kColorRollDown[] = "TPPigmentor";
const char kColorRollDownFallback[] = "TPColor";
const char kPigmentorSpecialOption[] = "*Pigmentor";

const char kStandardItem[] = "CMYK";
const char kGrayscaleItem[] = "Grayscale";
const char kGrayItem[] = "GRAY";
const char kExpertItem[] = "Expert";
const char kDefaultItem[] = "QVColorModeDEF";

/// The scroll pane of the property page `name`, or null.
PPDXScrollPane* GetScrollPane(QRVPPD* model, const char* name) {
    PPDXProperties* pages = model->GetProperties();
    PPDXProperty* page = pages ? pages->Find(name, true) : nullptr;
    return page ? page->GetScrollDown() : nullptr;
}

/// The colour roll-down of the model, or null when neither group exists or it is no roll-down.
PPDXRollDown* FindColorRollDown(QRVPPD* model) {
    PPDXGroups* groups = model->GetGroups();
    if (!groups)
        return nullptr;
    PPDXGroup* group = groups->Find(kColorRollDown, true);
    if (!group)
        group = groups->Find(kColorRollDownFallback, true);
    return dynamic_cast<PPDXRollDown*>(group);
}

void ReplaceTitle(CFStringRef& slot, CFStringRef title) {
    CFStringRef copy = CFStringCreateCopy(kCFAllocatorDefault, title);
    if (!copy)
        return;
    if (slot)
        CFRelease(slot);
    slot = copy;
}

long ValueOf(const PPDXPopupControl* control) {
    return control ? control->GetValue() : 0;
}

/// title = the control's user name, value = its current item's; false without any of them.
bool ReportControl(PPDXPopupControl* control, CFMutableStringRef title, CFMutableStringRef value) {
    if (!control || !title || !value)
        return false;
    _PopupItem* item = control->CurrentItem();
    CFStringRef name = control->CFStringUserName();
    if (!item || !item->mLocalName || !name)
        return false;
    CFStringReplaceAll(title, name);
    CFStringReplaceAll(value, item->mLocalName);
    return true;
}

} // namespace

PigmentorData::PigmentorData(PMPrintSession session, QRVPPD* model, QRVJobTicket& /*jobTicket*/,
                             bool twoWay, const char* serverName) {
    if (!model)
        return;
    mModel = model;
    mPrinterInfo = new PrinterInfoTicket(session);
    mValid = VerifyPPD(model);
    if (!mValid)
        return;
    // Kept with a reference of our own: the session's printer may be replaced under us.
    mPrinterName = ::GetCurrentPrinterName(session);
    if (mPrinterName)
        CFRetain(mPrinterName);
    {
        PrintSettingsTicket settings(session);
        RestoreSettingsFromJobTicket(&settings);
    }
    ResetTovranePrinterList();
    GetTovranePrinterAddress(mPrinterName, nullptr);
    mExpertColorFeatures = new ExpertColorFeatures(model, twoWay, serverName, true, true, nullptr);
    mValid = mExpertColorFeatures != nullptr;
}

PigmentorData::~PigmentorData() {
    delete mPrinterInfo;
    // Stops and joins a running background fetch before the model can go away.
    delete mExpertColorFeatures;
    delete mPrinterList;
    for (CFStringRef s : {mColorModeValueTitle, mPrintModeTitle, mPrinterName, mTwoWayAddress})
        if (s)
            CFRelease(s);
}

bool PigmentorData::VerifyPPD(QRVPPD* model) {
    if (!GetScrollPane(model, kPrintPage))
        return false;
    mRollDown = FindColorRollDown(model);
    if (!mRollDown)
        return false;
    return VerifyPPDControls(mRollDown, model->GetControls());
}

bool PigmentorData::VerifyPPDControls(PPDXRollDown* rollDown, PPDXControls* modelControls) {
    PPDXControls* controls = rollDown->Controls();
    if (controls) {
        CNTL_TYPE type;
        bool rejected = false;
        for (PPDXControl* c = controls->First(type); c; c = controls->Next(type)) {
            auto* popup = dynamic_cast<PPDXPopupControl*>(c);
            // One table search per control; the print mode and separations count only as
            // popups, the other three whatever their kind.
            const char* keyword = c->Keyword();
            switch (keyword ? ExpertColorKeywords::getPigmentorKeywordIdx(keyword) : -1) {
            case ExpertColorKeywords::kColorMode:
                if (popup && VerifyColorModeControl(popup))
                    mColorMode = popup;
                else
                    rejected = popup != nullptr;
                break;
            case ExpertColorKeywords::kSeparations:
                if (popup)
                    mSeparation = popup;
                break;
            case ExpertColorKeywords::kBrightness:
                mBrightness = popup;
                break;
            case ExpertColorKeywords::kImageSmooth:
                mImageSmoothing = popup;
                break;
            case ExpertColorKeywords::kSubstColors:
                mSubstColor = popup;
                break;
            default:
                break;
            }
            if (rejected)
                break;
        }
    }
    if (modelControls && modelControls->FindSpecialOption(kPigmentorSpecialOption, true))
        return true;
    return mColorMode != nullptr;
}

bool PigmentorData::VerifyColorModeControl(PPDXPopupControl* control) {
    if (!control || control->ItemCount() < 2)
        return false;
    bool known = true;
    for (_PopupItem* item = control->FirstItem(); item && known; item = control->NextItem()) {
        const char* keyword = item->Keyword();
        const char* name = item->displayName();
        if (!keyword) {
            known = false;
        } else if (std::strcmp(keyword, kStandardItem) == 0) {
            mStandardKeyword = keyword;
            mStandardName = name;
        } else if (std::strcmp(keyword, kGrayscaleItem) == 0 ||
                   std::strcmp(keyword, kGrayItem) == 0) {
            mGrayscaleKeyword = keyword;
            mGrayscaleName = name;
        } else if (std::strcmp(keyword, kExpertItem) == 0) {
            mExpertKeyword = keyword;
            mExpertName = name;
        } else if (std::strcmp(keyword, kDefaultItem) == 0) {
            mDefaultKeyword = keyword;
            mDefaultName = name;
        } else {
            known = false;
        }
    }
    if (known && !mStandardKeyword.Empty() && !mStandardName.Empty() &&
        !mGrayscaleKeyword.Empty() && !mGrayscaleName.Empty())
        return true;
    // A rejected control must not leave half its items behind as the print mode's keywords.
    ClearColorModeTexts();
    return false;
}

void PigmentorData::ClearColorModeTexts() {
    for (CString* s : {&mStandardKeyword, &mStandardName, &mGrayscaleKeyword, &mGrayscaleName,
                       &mExpertKeyword, &mExpertName, &mDefaultKeyword, &mDefaultName})
        s->ClearBuffer();
}

void PigmentorData::SetColorMode(ColorModeValues mode) {
    const char* target;
    switch (mode) {
    case kColorModeStandard:
        target = kStandardItem;
        break;
    case kColorModeGrayscale:
        target = GetGrayscaleColorKeyword();
        break;
    case kColorModeExpert:
        target = ExpertColorDefinedInPPD() ? kExpertItem : kStandardItem;
        break;
    default:
        return;
    }
    if (!mColorMode)
        return;
    long position = 1;
    for (_PopupItem* item = mColorMode->FirstItem(); item; item = mColorMode->NextItem(), ++position)
        if (item->HasKeyword(target))
            mColorMode->SetValue(position);
}

void PigmentorData::SetColorModeValue(CFStringRef title, int value) {
    if (!title)
        return;
    ReplaceTitle(mColorModeValueTitle, title);
    mColorModeValue = value;
}

void PigmentorData::SetPrintModeTitle(CFStringRef title) {
    if (title)
        ReplaceTitle(mPrintModeTitle, title);
}

int PigmentorData::GetColorModeValueKeyword(char* buffer) {
    if (!mColorMode)
        return 0;
    long value = mColorMode->GetValue();
    if (value < 1 || value > static_cast<long>(mColorMode->ItemCount()))
        return 0;
    _PopupItem* item = mColorMode->CurrentItem();
    const char* name = item ? item->displayName() : nullptr;
    if (buffer)
        ColourText::Copy(buffer, kColourTextSize, name);
    return static_cast<int>(value);
}

long PigmentorData::GetSeparation() const { return ValueOf(mSeparation); }
long PigmentorData::GetBrightNess() const { return ValueOf(mBrightness); }
long PigmentorData::GetImageSmoothing() const { return ValueOf(mImageSmoothing); }
long PigmentorData::GetSubstColor() const { return ValueOf(mSubstColor); }

bool PigmentorData::ReportColorSeparation(CFMutableStringRef title, CFMutableStringRef value) {
    return ReportControl(mSeparation, title, value);
}

bool PigmentorData::ReportColorBrightness(CFMutableStringRef title, CFMutableStringRef value) {
    return ReportControl(mBrightness, title, value);
}

bool PigmentorData::ReportImageSmoothing(CFMutableStringRef title, CFMutableStringRef value) {
    return ReportControl(mImageSmoothing, title, value);
}

bool PigmentorData::ReportColorSubst(CFMutableStringRef title, CFMutableStringRef value) {
    return ReportControl(mSubstColor, title, value);
}

PigmentorPPDItemList* PigmentorData::GetExpertColorFeaturesList() const {
    return mExpertColorFeatures ? mExpertColorFeatures->getExpertColorFeatures() : nullptr;
}

PigmentorPaneItemList* PigmentorData::GetPigmentorPaneItemList() const {
    return mExpertColorFeatures ? mExpertColorFeatures->getPigmentorPaneItemList() : nullptr;
}

unsigned long PigmentorData::GetPigmentorErr() const {
    return mExpertColorFeatures ? mExpertColorFeatures->getPigmentorErr() : 0;
}

PigmentorPPDItemList* PigmentorData::UpdateSettings(QRVPPD* model, bool twoWay,
                                                    const char* serverName, bool refresh) {
    if (!mExpertColorFeatures)
        return nullptr;
    if (model)
        mModel = model;
    mExpertColorFeatures->updatePigmentorSettings(model, twoWay, serverName, refresh);
    if (mExpertColorFeatures->isAsyncMode())
        return nullptr;
    return mExpertColorFeatures->getExpertColorFeatures();
}

void PigmentorData::AddProgressHandler(PigmentorProgressHandler* handler, bool async) {
    if (!mExpertColorFeatures)
        return;
    mExpertColorFeatures->setAsyncMode(async);
    mExpertColorFeatures->setProgressHandler(handler);
}
