//===- CustomCarbonEvent.cpp - An event posted to a window ----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "CustomCarbonEvent.h"

#include "EventHack.h"

#include <HIToolbox/HIToolboxErrors.h>

namespace {
// The command record's size on the wire: the platform reads 14 bytes as one whole HICommand.
constexpr UInt32 kHICommandWireSize = 14;
} // namespace

CustomCarbonEvent::CustomCarbonEvent(HICommand command, WindowRef window, UInt32 eventClass,
                                     UInt32 eventKind)
    : mWindow(window), mValid(false), mEvent(nullptr) {
    if (!window)
        return;
    if (CreateEvent(kCFAllocatorDefault, eventClass, eventKind, GetCurrentEventTime(),
                    kEventAttributeUserEvent, &mEvent) != noErr) {
        mEvent = nullptr;
        return;
    }
    mValid = SetEventParameter(mEvent, kEventParamDirectObject, typeHICommand,
                               kHICommandWireSize, &command) == noErr;
}

CustomCarbonEvent::~CustomCarbonEvent() {
    if (mEvent)
        ReleaseEvent(mEvent);
}

OSStatus CustomCarbonEvent::addParameter(EventParamName name, const void* data, UInt32 size,
                                         EventParamType type) {
    if (!mValid)
        return paramErr;
    return SetEventParameter(mEvent, name, type, size, data);
}

OSStatus CustomCarbonEvent::setEventTarget(EventTargetRef target) {
    if (!mValid || !target)
        return paramErr;
    return SetEventParameter(mEvent, kEventParamPostTarget, typeEventTargetRef, sizeof target,
                             &target);
}

OSStatus CustomCarbonEvent::send(EventQueueRef queue, short priority) {
    if (!mValid)
        return paramErr;
    OSStatus status = setEventTarget(GetWindowEventTarget(mWindow));
    if (status != noErr)
        return status;
    status = PostEventToQueue(queue ? queue : GetMainEventQueue(), mEvent,
                              static_cast<EventPriority>(priority));
    EventHack::instance().wakeHack();
    return status;
}
