//===- ProgressHandler.cpp - Receiver of a server fetch's progress --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ProgressHandler.h"

#include "Localization.h"

ProgressHandler::ProgressHandler(WindowRef window, void* userData)
    : mTimer(0), mWindow(window), mCancelled(false), mAborted(false), mUserData(userData) {}

ProgressHandler::~ProgressHandler() = default;

void ProgressHandler::setTimer(unsigned long timer) {
    mTimer = timer;
}

void ProgressHandler::user_cancel() {
    mCancelled = true;
}

void ProgressHandler::abort() {
    mAborted = true;
}

int ProgressHandler::initProgress() {
    if (mCancelled)
        return kProgressUserCancelled;
    reset();
    return initImp();
}

int ProgressHandler::updateProgress(unsigned long state, void* text, int length) {
    if (mCancelled)
        return kProgressUserCancelled;
    return updateImp(state, text, length);
}

int ProgressHandler::startProgress(unsigned long state, void* text, int length) {
    if (mCancelled)
        return kProgressUserCancelled;
    return startImp(state, text, length);
}

int ProgressHandler::endProgress(unsigned long state, void* text, int length) {
    if (mCancelled)
        return kProgressUserCancelled;
    return endImp(state, text, length);
}

// Errors are reported even after a cancel, so that the fetch can still say why it stopped.
int ProgressHandler::reportError(unsigned long error, unsigned long state, void* text,
                                 int length) {
    return errorImp(error, state, text, length);
}

void ProgressHandler::reset() {
    mCancelled = false;
    mAborted = false;
}

bool ProgressHandler::isCancelled() const {
    return mCancelled;
}

bool ProgressHandler::isAborted() const {
    return mAborted;
}

CFStringRef ProgressHandler::getProgressString(unsigned long state) {
    CFStringRef key = nullptr;
    switch (state) {
    case kProgressStateConnecting: key = CFSTR("kProgressConnecting"); break;
    case kProgressStateInitializing: key = CFSTR("kProgressInitializing"); break;
    case kProgressStateGettingFeatures: key = CFSTR("kProgressGettingFeatures"); break;
    case kProgressStateProcessingData: key = CFSTR("kProgressProcessingData"); break;
    case kProgressStateAborting: key = CFSTR("kProgressAborting"); break;
    case kProgressStateCleanUp: key = CFSTR("kProgressCleanUp"); break;
    case kProgressStateProcessingStatus: key = CFSTR("kProgressProcessingStatus"); break;
    default: return nullptr;
    }
    // The server layer cannot reach the plug-in layer's bundle helpers, so the bundle is found
    // by its identifier. Without the bundle (a tool, a test) the key itself is the caption, as
    // it is for a key the table lacks: the progress line never goes blank.
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(Localization::BundleIdentifier());
    if (!bundle)
        return CFStringCreateCopy(kCFAllocatorDefault, key);
    return CFBundleCopyLocalizedString(bundle, key, key, CFSTR("BidiStrings"));
}
