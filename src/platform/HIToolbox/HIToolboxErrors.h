#pragma once
/// Status codes of the user-interface services, with the platform's own values. Every call
/// returns one; none is ever thrown.

#include <CarbonCore/MacErrors.h>

// Event Manager and Carbon events.
enum {
    eventAlreadyPostedErr = -9860,     ///< the event is already in a queue
    eventTargetBusyErr = -9861,        ///< the target is being torn down
    eventClassInvalidErr = -9862,      ///< the event's class is not one the call accepts
    eventClassIncorrectErr = -9864,    ///< wrong event class for the call
    eventHandlerAlreadyInstalledErr = -9866,
    eventInternalErr = -9868,          ///< a broken event or handler reference
    eventKindIncorrectErr = -9869,     ///< wrong event kind for the call
    eventParameterNotFoundErr = -9870, ///< the event has no such parameter (or not of that type)
    eventNotHandledErr = -9874,        ///< no handler took the event; pass it on
    eventLoopTimedOutErr = -9875,      ///< the loop's time ran out before an event arrived
    eventLoopQuitErr = -9876,          ///< the loop was told to quit
    eventNotInQueueErr = -9877,        ///< the event is not in that queue
};

// Window Manager.
enum {
    errInvalidWindowRef = -5600,    ///< not a live window
    errUnsupportedWindowAttributesForClass = -5601,
    errWindowDoesNotHaveProxy = -5602,
    errInvalidWindowProperty = -5603,
    errWindowNotFound = -5608,      ///< no such window
    errAlreadyInModalDialog = -5620, ///< the window's modal loop is already running
};

// Control Manager.
enum {
    controlHandleInvalidErr = -30599, ///< not a live control
    errUnknownControl = -30584,       ///< no control has that id
    errCouldntSetFocus = -30585,
    errNoRootControl = -30586,
    errRootAlreadyExists = -30587,
    errInvalidPartCode = -30588,
    errControlsAlreadyExist = -30589,
    errControlIsNotEmbedder = -30590, ///< the control cannot hold others
    errDataNotSupported = -30591,     ///< the control kind has no such data tag
    errControlDoesntSupportFocus = -30592,
    errCantEmbedIntoSelf = -30594,
    errCantEmbedRoot = -30595,
    errItemNotControl = -30596,
    errControlHiddenOrDisabled = -30600, ///< simulated input on a control a person could not use
};

// Menu Manager.
enum {
    menuPropertyNotFoundErr = -5621,
    menuNotFoundErr = -5620,
    menuUsesSystemDefErr = -5622,
    menuItemNotFoundErr = -5623, ///< no item at that index
    menuInvalidErr = -5624,      ///< not a live menu
};

// NIB files (Interface Builder runtime).
enum {
    kIBCarbonRuntimeCantFindNibFile = -10960,        ///< no such NIB file in the bundle
    kIBCarbonRuntimeObjectNotOfRequestedType = -10961,
    kIBCarbonRuntimeCantFindObject = -10962,         ///< no window of that name in the NIB
};

/// A NIB file that exists but cannot be read (not well-formed, or not valid in our format).
enum { coreFoundationUnknownErr = -4960 };
