//===- CustomCarbonEvent.h - An event posted to a window --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_CUSTOMCARBONEVENT_H
#define PIGMENTOR_BRIVELLE_CUSTOMCARBONEVENT_H

#include <HIToolbox/CarbonEvents.h>

/// A user event carrying an `HICommand`, built on any thread and posted to a window through the
/// main event queue; the main thread dispatches it to the window's handlers.
///
/// The object owns its reference to the event (the queue keeps its own once posted); the window
/// is not owned and is only named (its target is checked when the event is dispatched). One
/// thread builds, fills and sends an object.
class CustomCarbonEvent {
public:
    /// With a window: an event of `eventClass`/`eventKind` stamped now, whose direct object is
    /// `command`; valid when both succeeded. Without a window: not valid.
    CustomCarbonEvent(HICommand command, WindowRef window, UInt32 eventClass, UInt32 eventKind);
    CustomCarbonEvent(const CustomCarbonEvent&) = delete;
    CustomCarbonEvent& operator=(const CustomCarbonEvent&) = delete;
    /// Releases the event.
    virtual ~CustomCarbonEvent();

    /// Sets parameter `name` to `size` bytes of `data` of `type`; -50 when not valid.
    OSStatus addParameter(EventParamName name, const void* data, UInt32 size,
                          EventParamType type);
    /// Sets the post target; -50 when not valid or `target` is null.
    OSStatus setEventTarget(EventTargetRef target);
    /// Targets the window and posts to `queue` (the main queue when null) with `priority`, then
    /// wakes the main loop; -50 when not valid, else the post's status.
    OSStatus send(EventQueueRef queue, short priority);

    bool isValid() const { return mValid; }
    /// The event (not retained), null when none was made.
    EventRef getEvent() const { return mEvent; }

private:
    WindowRef mWindow;
    bool mValid;
    EventRef mEvent;
};

#endif // PIGMENTOR_BRIVELLE_CUSTOMCARBONEVENT_H
