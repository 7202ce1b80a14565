//===- PigmentorBIDIItemList.cpp - Colour items the print server offers ---===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorBIDIItemList.h"

#include "Brivelle.h"
#include "ColourText.h"
#include "DeviceLinkItem.h"
#include "DeviceLinkList.h"
#include "ExpertColorKeywords.h"
#include "PPDXControls.h"
#include "PPDXPopupControl.h"
#include "PigmentorBIDIItem.h"
#include "PigmentorErrors.h"
#include "ProgressHandler.h"

#include <cstdlib>
#include <cstring>
#include <new>

PigmentorBIDIItemList::PigmentorBIDIItemList(QRVPPD* model, const char* serverName,
                                             ProgressHandler* handler, bool deviceLinksEnabled)
    : PigmentorPPDItemList(model, false, handler), mServerName(nullptr), mConnection(nullptr),
      mDeviceName{}, mControlTable(nullptr), mDeviceLinksEnabled(deviceLinksEnabled),
      mDeviceLinks(nullptr) {
    if (!model) {
        setPigmentorErr(kPigmentorPPDInitErr);
        return;
    }
    if (!serverName) {
        setPigmentorErr(kPigmentorServerNameErr);
        return;
    }
    mControlTable = new (std::nothrow) PPDXControl*[kControlTableSize]();
    if (!mControlTable) {
        setPigmentorErr(kPigmentorMemoryErr);
        return;
    }
    if (unsigned long code = setServerName(serverName))
        setPigmentorErr(code);
    else
        mValid = initialize();
}

// Items point into the model and device links hold server names; the connection goes last.
PigmentorBIDIItemList::~PigmentorBIDIItemList() {
    resetFeatureList();
    delete mDeviceLinks;
    delete[] mControlTable;
    delete mConnection;
    std::free(mServerName);
}

const char* PigmentorBIDIItemList::Keyword(const char* keyword) {
    // One buffer per thread: the fetch thread and the main thread may both ask.
    static thread_local char base[kColourTextSize];
    base[0] = '\0';
    if (!keyword)
        return base;
    const size_t length = std::strlen(keyword);
    if (length < 5 || length >= sizeof base)
        return base;
    std::memcpy(base, keyword, length + 1);
    if (isBidiKeyword(base))
        base[length - 4] = '\0';
    return base;
}

void PigmentorBIDIItemList::setPigmentorErr(unsigned long code) {
    if (code == kPigmentorNoErr)
        return;
    PigmentorPPDItemList::setPigmentorErr(code);
    reportError(code, 0, nullptr);
}

bool PigmentorBIDIItemList::itemIsAvailable(const char* keyword) {
    return findByKeyword(Keyword(keyword)) != nullptr;
}

PPDXControl* PigmentorBIDIItemList::getIndexPPDControl(int index) const {
    if (!mControlTable || index < 0 || index >= kControlTableSize)
        return nullptr;
    return mControlTable[index];
}

bool PigmentorBIDIItemList::initialize() {
    int answer = initializeProgress();
    if (!answer)
        answer = startProgress(kProgressStateProcessingData, "Initalizing... ");
    if (answer) {
        setPigmentorErr(static_cast<unsigned long>(answer));
        return false;
    }
    resetFeatureList();
    if (mControlTable)
        for (int i = 0; i < kControlTableSize; ++i)
            mControlTable[i] = nullptr;

    if (unsigned long code = getBrivelleData()) {
        setPigmentorErr(code);
        return false;
    }
    if (int stop = updateProgress(kProgressStateProcessingData, nullptr)) {
        setPigmentorErr(static_cast<unsigned long>(stop));
        return false;
    }

    if (PPDXControls* controls = getPPDControlList()) {
        for (PPDXPopupControl* popup = controls->FirstPopupControl(); popup;
             popup = controls->NextPopupControl()) {
            const char* keyword = popup->Keyword();
            const int index = ExpertColorKeywords::findPigmentorKeywordIdx(Keyword(keyword));
            if (index <= 0)
                continue;
            PigmentorItem* item = nullptr;
            if (isBidiKeyword(keyword)) {
                item = new (std::nothrow) PigmentorBIDIItem(popup);
            } else {
                if (mControlTable)
                    mControlTable[index] = popup;
                if (index >= ExpertColorKeywords::kRGBOtherGamma &&
                    index <= ExpertColorKeywords::kRGBOtherPhos)
                    item = new (std::nothrow) PigmentorPPDItem(popup);
                else
                    continue;
            }
            if (!item || !addItem(item)) {
                setPigmentorErr(kPigmentorMemoryErr);
                mHasItems = false;
                return false;
            }
            item->setIndex(index);
        }
    }

    if (mDeviceLinksEnabled)
        InitializeDeviceLinks();
    endProgress(kProgressStateDone, "Done ");
    mHasItems = count() > 0;
    setPigmentorErr(mHasItems ? kPigmentorNoErr : kPigmentorNotSupportedErr);
    return mHasItems;
}

CFStringRef PigmentorBIDIItemList::RGBDeviceLinkExists(PigmentorItem* rgb, PigmentorItem* out) {
    if (!mDeviceLinks || !rgb || !out)
        return nullptr;
    return mDeviceLinks->getDeviceLink(static_cast<int>(rgb->getValue()),
                                       static_cast<int>(out->getValue()),
                                       DeviceLinkItem::kRGBLink);
}

CFStringRef PigmentorBIDIItemList::CMYKDeviceLinkExists(PigmentorItem* sim, PigmentorItem* out) {
    if (!mDeviceLinks || !sim || !out || !sim->getPPDXControl() || !out->getPPDXControl())
        return nullptr;
    return mDeviceLinks->getDeviceLink(static_cast<int>(sim->getValue()),
                                       static_cast<int>(out->getValue()),
                                       DeviceLinkItem::kCMYKLink);
}
