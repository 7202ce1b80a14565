//===- PigmentorProgressHandler.cpp - Fetch progress as window events -----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PigmentorProgressHandler.h"

#include "CustomCarbonEvent.h"
#include "EventHack.h"
#include "UI_ChasingArrows.h"

#include <HIToolbox/HIToolboxErrors.h>

namespace {
// High priority: progress overtakes the user's own input waiting in the queue.
constexpr short kProgressPriority = kEventPriorityHigh;
} // namespace

PigmentorProgressHandler::PigmentorProgressHandler(WindowRef window, void* userData)
    : ProgressHandler(window, userData), mEventHandler(nullptr), mEventHandlerUPP(nullptr),
      mArrows(nullptr), mError(0) {
    if (!window)
        return;
    // The main loop gets its wake-up source the first time a window is given a handler.
    EventHack::instance().testHack();
    const EventTypeSpec progress{kPigmentorProgressEventClass, kPigmentorProgressEventKind};
    mEventHandlerUPP = NewEventHandlerUPP(PigmentorProgressEventHandler);
    if (InstallWindowEventHandler(window, mEventHandlerUPP, 1, &progress, this,
                                  &mEventHandler) != noErr) {
        mEventHandler = nullptr;
        return;
    }
    InitializeChasingArrows();
}

PigmentorProgressHandler::~PigmentorProgressHandler() {
    if (mEventHandler)
        RemoveEventHandler(mEventHandler);
    if (mEventHandlerUPP)
        DisposeEventHandlerUPP(mEventHandlerUPP);
    delete mArrows;
}

bool PigmentorProgressHandler::InitializeChasingArrows() {
    WindowRef window = getWindow();
    if (!window)
        return false;
    const ControlID id{kChasingArrowsSignature, 0};
    ControlRef place = nullptr;
    if (GetControlByID(window, &id, &place) != noErr || !place)
        return true; // no indicator wanted; the events still flow
    Rect bounds{};
    GetControlBounds(place, &bounds);
    delete mArrows;
    mArrows = new UI_ChasingArrows(window, bounds, false, place, true, CFSTR(""));
    if (mArrows->isValid())
        return true;
    delete mArrows;
    mArrows = nullptr;
    return false;
}

int PigmentorProgressHandler::initImp() {
    mError = 0;
    return 0;
}

void PigmentorProgressHandler::reset() {
    mError = 0;
    ProgressHandler::reset();
}

// The text arguments stay on the worker: the main thread takes its captions from the state.
int PigmentorProgressHandler::startImp(unsigned long state, void*, int) {
    postProgress(kProgressMessageStart, state, nullptr);
    return 0;
}

int PigmentorProgressHandler::updateImp(unsigned long state, void*, int) {
    postProgress(kProgressMessageUpdate, state, nullptr);
    return 0;
}

int PigmentorProgressHandler::endImp(unsigned long state, void*, int) {
    postProgress(kProgressMessageEnd, state, nullptr);
    return 0;
}

int PigmentorProgressHandler::errorImp(unsigned long error, unsigned long state, void*, int) {
    if (!getWindow())
        return 0;
    postProgress(kProgressMessageError, state, &error);
    mError = error;
    return 0;
}

// Posting failures are not reported: the fetch goes on and its result still arrives.
void PigmentorProgressHandler::postProgress(UInt32 message, unsigned long state,
                                            const unsigned long* error) {
    WindowRef window = getWindow();
    if (!window)
        return;
    const HICommand command{message, kProgressCommandID, {nullptr, 0}};
    CustomCarbonEvent event(command, window, kPigmentorProgressEventClass,
                            kPigmentorProgressEventKind);
    const UInt32 code = static_cast<UInt32>(state);
    event.addParameter(kProgressParamState, &code, sizeof code, typeUInt32);
    if (error) {
        const UInt32 errorCode = static_cast<UInt32>(*error);
        event.addParameter(kProgressParamError, &errorCode, sizeof errorCode, typeUInt32);
    }
    event.send(nullptr, kProgressPriority);
}

void PigmentorProgressHandler::done() {
    WindowRef window = getWindow();
    if (!window)
        return;
    const HICommand command{0, kFeaturesDoneCommand, {nullptr, 0}};
    CustomCarbonEvent event(command, window, kEventClassCommand, kEventCommandProcess);
    event.send(nullptr, kProgressPriority);
}

void PigmentorProgressHandler::StopProgress() {
    if (mArrows)
        mArrows->hide();
}

OSStatus PigmentorProgressHandler::PigmentorProgressEventHandler(EventHandlerCallRef,
                                                                 EventRef event, void* handler) {
    HICommand command{};
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                          sizeof command, nullptr, &command) != noErr ||
        command.commandID != kProgressCommandID || !handler)
        return eventNotHandledErr;
    static_cast<PigmentorProgressHandler*>(handler)->ProcessProgressEvent(&command, event);
    return noErr;
}

void PigmentorProgressHandler::ProcessProgressEvent(HICommand* command, EventRef event) {
    if (!mArrows || !command)
        return;
    UInt32 state = 0;
    GetEventParameter(event, kProgressParamState, typeUInt32, nullptr, sizeof state, nullptr,
                      &state);
    CFStringRef text = getProgressString(state);
    switch (command->attributes) {
    case kProgressMessageStart:
        mArrows->setCaption(text ? text : CFSTR("Contacting server ..."), true);
        mArrows->show();
        break;
    case kProgressMessageEnd:
        mArrows->hide();
        break;
    case kProgressMessageUpdate:
        mArrows->setCaption(text ? text : CFSTR("Getting features..."), true);
        break;
    case kProgressMessageError: {
        // The code itself reaches the user through the list's error, not the caption.
        UInt32 error = 0;
        GetEventParameter(event, kProgressParamError, typeUInt32, nullptr, sizeof error,
                          nullptr, &error);
        mArrows->hide();
        break;
    }
    default:
        break;
    }
    if (text)
        CFRelease(text);
}
