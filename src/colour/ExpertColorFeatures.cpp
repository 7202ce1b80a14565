//===- ExpertColorFeatures.cpp - The pane's colour item lists -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ExpertColorFeatures.h"

#include "ExpertColorFeaturesThread.h"
#include "PPDXControls.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorErrors.h"
#include "PigmentorItem.h"
#include "PigmentorPaneItemList.h"
#include "PigmentorProgressHandler.h"
#include "QRVPPD.h"

#include <cstdlib>
#include <cstring>
#include <new>

ExpertColorFeatures::ExpertColorFeatures(QRVPPD* model, bool twoWay, const char* serverName,
                                         bool refresh, bool async,
                                         PigmentorProgressHandler* handler)
    : mExpertList(nullptr), mPaneList(nullptr), mServerName(nullptr), mModel(nullptr),
      mExpertCursor(nullptr), mPaneCursor(nullptr), mThread(nullptr), mHandler(handler),
      mError(kPigmentorNoErr), mAsync(async), mDeviceLinks(false) {
    if (!model) {
        mError = kPigmentorPPDInitErr;
        return;
    }
    if (unsigned long code = verifyExpertColor(model)) {
        mError = code;
        return;
    }
    mModel = model;
    mPaneList = new (std::nothrow) PigmentorPaneItemList(model);
    updatePigmentorSettings(model, twoWay, serverName, refresh);
}

ExpertColorFeatures::~ExpertColorFeatures() {
    cancelExpertColorFeaturesAsync();
    delete mPaneList;
    deleteExpertList();
    std::free(mServerName);
    mHandler = nullptr;
}

unsigned long ExpertColorFeatures::verifyExpertColor(QRVPPD* model) {
    // The answer of building the expert list, without making its items.
    PigmentorPPDItemList list(model, false, nullptr);
    if (list.hasExpertControls())
        return kPigmentorNoErr;
    return list.getPigmentorErr() ? list.getPigmentorErr() : kPigmentorNotSupportedErr;
}

void ExpertColorFeatures::updatePigmentorSettings(QRVPPD* model, bool twoWay,
                                                  const char* serverName, bool refresh) {
    // A running fetch that already serves these very settings, and reports its end to the
    // handler of today, goes on: changing them would first wait for it, and the main thread
    // would stand still for the whole fetch. A fetch that reports to no one or to another
    // handler is replaced, or the pane would never hear that its list is ready.
    const char* wanted = twoWay ? serverName : nullptr;
    const bool sameServer = (!wanted && !mServerName) ||
                            (wanted && mServerName && std::strcmp(wanted, mServerName) == 0);
    if (refresh && mAsync && isFetching() && mHandler && mThread->handler() == mHandler &&
        (!model || model == mModel) && sameServer)
        return;
    if (model)
        setPPD(model);
    setServerName(twoWay ? serverName : nullptr);
    if (!refresh)
        return;
    if (mAsync)
        getExpertColorFeaturesAsync(nullptr);
    else
        refreshFeatures(nullptr);
}

// The pane list holds items of the model's controls: a different model gets a new one.
void ExpertColorFeatures::setPPD(QRVPPD* model) {
    if (!model)
        return;
    cancelExpertColorFeaturesAsync();
    if (model != mModel || !mPaneList) {
        delete mPaneList;
        mPaneCursor = nullptr;
        mPaneList = new (std::nothrow) PigmentorPaneItemList(model);
    }
    mModel = model;
    deleteExpertList();
    getDeviceLinkInfo();
}

void ExpertColorFeatures::setServerName(const char* serverName) {
    cancelExpertColorFeaturesAsync();
    char* copy = nullptr;
    if (serverName) {
        const size_t length = std::strlen(serverName);
        copy = static_cast<char*>(std::malloc(length + 1));
        if (!copy) {
            mError = kPigmentorMemoryErr;
            return;
        }
        std::memcpy(copy, serverName, length + 1);
    }
    std::free(mServerName);
    mServerName = copy;
    if (mServerName)
        deleteExpertList();
}

bool ExpertColorFeatures::getDeviceLinkInfo() {
    mDeviceLinks = false;
    if (!mModel || !mModel->GetControls())
        return false;
    mDeviceLinks = mModel->GetControls()->FindSpecialOption("*DeviceLink", true) != nullptr;
    return mDeviceLinks;
}

void ExpertColorFeatures::deleteExpertList() {
    delete mExpertList;
    mExpertList = nullptr;
    mExpertCursor = nullptr;
}

void ExpertColorFeatures::resetFeatures() {
    cancelExpertColorFeaturesAsync();
    deleteExpertList();
}

// An invalid list is not kept, but its code is: the pane reports why there is no list.
PigmentorPPDItemList* ExpertColorFeatures::refreshFeatures(PigmentorProgressHandler* handler) {
    mError = kPigmentorNoErr;
    deleteExpertList();
    PigmentorPPDItemList* list = nullptr;
    if (mServerName)
        list = new (std::nothrow) PigmentorBIDIItemList(mModel, mServerName, handler, mDeviceLinks);
    else
        list = new (std::nothrow) PigmentorPPDItemList(mModel, true, nullptr);
    if (!list) {
        mError = kPigmentorMemoryErr;
        return nullptr;
    }
    if (!list->isValid()) {
        mError = list->getPigmentorErr() ? list->getPigmentorErr() : kPigmentorInvalidItemsListErr;
        delete list;
        return nullptr;
    }
    mExpertList = list;
    return list;
}

void ExpertColorFeatures::getExpertColorFeaturesAsync(PigmentorProgressHandler* handler) {
    mError = kPigmentorNoErr;
    if (isFetching())
        return;
    delete mThread;
    mThread = nullptr;
    if (handler)
        mHandler = handler;
    if (mHandler)
        mHandler->reset();
    // The fetch reports to the stored handler: the pane hands it over once and later requests
    // may come without one.
    mThread = new (std::nothrow) ExpertColorFeaturesThread(this, mHandler);
    if (mThread)
        mThread->run();
    else
        mError = kPigmentorMemoryErr;
}

void ExpertColorFeatures::cancelExpertColorFeaturesAsync() {
    delete mThread;
    mThread = nullptr;
}

bool ExpertColorFeatures::isFetching() const {
    return mThread && mThread->isExpertThreadRunning();
}

PigmentorPPDItemList* ExpertColorFeatures::getExpertColorFeatures() const {
    return isFetching() ? nullptr : mExpertList;
}

bool ExpertColorFeatures::isValid() const {
    PigmentorPPDItemList* list = getExpertColorFeatures();
    return list && list->isValid();
}

unsigned long ExpertColorFeatures::getPigmentorErr() const {
    if (unsigned long own = mError)
        return own;
    PigmentorPPDItemList* list = getExpertColorFeatures();
    return list ? list->getPigmentorErr() : kPigmentorNoErr;
}

bool ExpertColorFeatures::setFeaturesToDefaults() const {
    return getExpertColorFeatures() != nullptr;
}
