#pragma once
/// Carbon events: events with typed parameters, handlers on window, control and application
/// targets, the main event queue and application-modal loops.
///
/// Ownership: `CreateEvent` gives one reference (`ReleaseEvent` drops it); a queue holds its
/// own reference to each posted event. Handlers are kept by their target until removed or the
/// target is disposed. UPPs are plain function pointers here (New... returns the pointer,
/// Dispose... does nothing).
///
/// Threads: `CreateEvent`, `SetEventParameter` on an event no other thread uses, `RetainEvent`,
/// `ReleaseEvent`, `PostEventToQueue`, `GetMainEventQueue`, `GetCurrentEventTime`,
/// `GetWindowEventTarget` and `GetControlEventTarget` (they only compute the reference; it is
/// checked at dispatch) may be called from any thread; the queue is locked inside and posting
/// wakes the main run loop.
/// Everything else, every handler and every dispatch runs on the main thread.
///
/// Dispatch: an event sent to a control goes to the control's handlers (the latest installed
/// first), then its embedders', then its window's, then the application's; one sent to a window
/// goes to the window's and then the application's. A handler answering eventNotHandledErr
/// passes the event on; any other answer ends the dispatch. `CallNextEventHandler` runs the rest
/// of the chain from inside a handler. When no handler takes it, the standard behaviour runs
/// (a control hit sends the control's command; a command 'ok  ' or 'not!' does nothing).

#include <CoreFoundation/CFString.h>
#include <HIToolbox/Controls.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueEventQueueRef* EventQueueRef;

typedef UInt32 EventClass;
typedef UInt32 EventKind;
typedef UInt32 EventAttributes;
typedef OSType EventParamName;
typedef OSType EventParamType;
typedef SInt16 EventPriority;
/// Seconds since the system started.
typedef double EventTime;
typedef EventTime EventTimeout;
typedef EventTime EventTimerInterval;
#define kEventDurationSecond 1.0
#define kEventDurationMillisecond (1.0 / 1000)
#define kEventDurationNoWait 0.0
#define kEventDurationForever (-1.0)

enum { kEventAttributeNone = 0, kEventAttributeUserEvent = 1 };

/// Queue priorities: high events are dispatched before standard ones, standard before low;
/// events of one priority in the order they were posted.
enum { kEventPriorityLow = 0, kEventPriorityStandard = 1, kEventPriorityHigh = 2 };

typedef struct EventTypeSpec {
    EventClass eventClass;
    EventKind eventKind;
} EventTypeSpec;

/// Event classes and kinds used here.
enum {
    kEventClassMouse = 'mous',
    kEventClassKeyboard = 'keyb',
    kEventClassTextInput = 'text',
    kEventClassApplication = 'appl',
    kEventClassMenu = 'menu',
    kEventClassWindow = 'wind',
    kEventClassControl = 'cntl',
    kEventClassCommand = 'cmds',
};
enum { kEventCommandProcess = 1, kEventCommandUpdateStatus = 2 };
enum {
    kEventControlHit = 1,
    kEventControlClick = 13,
    kEventControlDraw = 4,
    kEventControlValueFieldChanged = 151,
    kEventControlSetFocusPart = 7,
};
enum { kEventRawKeyDown = 1, kEventRawKeyRepeat = 2, kEventRawKeyUp = 3 };
enum { kEventTextInputUnicodeForKeyEvent = 2 };
enum {
    kEventWindowActivated = 5,
    kEventWindowDeactivated = 6,
    kEventWindowShown = 24,
    kEventWindowHidden = 25,
    kEventWindowClose = 72,
};

/// Parameter names and types.
enum {
    kEventParamDirectObject = '----',
    kEventParamPostTarget = 'ptrg',
    kEventParamControlPart = 'cprt',
    kEventParamKeyModifiers = 'kmod',
    kEventParamKeyMacCharCodes = 'kchr',
    kEventParamKeyCode = 'kcod',
    kEventParamTextInputSendText = 'tstx',
    kEventParamWindowRef = 'wind',
    kEventParamControlRef = 'ctrl',
};
enum {
    typeHICommand = 'hcmd',
    typeEventTargetRef = 'etrg',
    typeControlRef = 'ctrl',
    typeWindowRef = 'wind',
    typeMenuRef = 'menu',
    typeUInt32 = 'magn',
    typeSInt32 = 'long',
    typeSInt16 = 'shor',
    typeUInt16 = 'ushr',
    typeBoolean = 'bool',
    typeChar = 'TEXT',
    typeUnicodeText = 'utxt',
    typeCFStringRef = 'cfst',
    typeControlPartCode = 'cprt',
    typeWildCard = '****',
};

/// A command and where it came from. The platform's record is 14 bytes with 32-bit pointers;
/// a parameter of type typeHICommand set with size 14 is read as one whole HICommand.
typedef struct HICommand {
    UInt32 attributes;
    UInt32 commandID;
    struct {
        MenuRef menuRef;
        MenuItemIndex menuItemIndex;
    } menu;
} HICommand;
typedef HICommand HICommandExtended;
enum { kHICommandFromMenu = 1, kHICommandFromControl = 2, kHICommandFromWindow = 4 };
enum { kHICommandOK = 'ok  ', kHICommandCancel = 'not!' };

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;
EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc);
void DisposeEventHandlerUPP(EventHandlerUPP upp);

/// Events.
OSStatus CreateEvent(CFAllocatorRef allocator, EventClass eventClass, EventKind kind,
                     EventTime when, EventAttributes flags, EventRef* outEvent);
EventRef RetainEvent(EventRef event);
void ReleaseEvent(EventRef event);
EventRef CopyEvent(EventRef event);
EventClass GetEventClass(EventRef event);
EventKind GetEventKind(EventRef event);
EventTime GetEventTime(EventRef event);
OSStatus SetEventTime(EventRef event, EventTime when);
EventTime GetCurrentEventTime(void);
/// Sets (replaces) a parameter: the bytes are copied. paramErr for NULL data with a size.
OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, UInt32 size,
                           const void* data);
/// Reads a parameter of `desiredType` (typeWildCard: any); eventParameterNotFoundErr when the
/// event has none of that name and type. Copies at most bufferSize bytes.
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, UInt32 bufferSize, UInt32* outActualSize,
                           void* outData);

/// Targets (NULL for a NULL window or control).
EventTargetRef GetWindowEventTarget(WindowRef window);
EventTargetRef GetControlEventTarget(ControlRef control);
EventTargetRef GetApplicationEventTarget(void);

/// Handlers: the new handler runs before those installed earlier on the same target.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData,
                             EventHandlerRef* outRef);
#define InstallWindowEventHandler(w, h, n, l, u, r) \
    InstallEventHandler(GetWindowEventTarget(w), (h), (n), (l), (u), (r))
#define InstallControlEventHandler(c, h, n, l, u, r) \
    InstallEventHandler(GetControlEventTarget(c), (h), (n), (l), (u), (r))
#define InstallApplicationEventHandler(h, n, l, u, r) \
    InstallEventHandler(GetApplicationEventTarget(), (h), (n), (l), (u), (r))
OSStatus RemoveEventHandler(EventHandlerRef handler);
OSStatus AddEventTypesToHandler(EventHandlerRef handler, ItemCount numTypes,
                                const EventTypeSpec* list);
/// Runs the handlers after the current one (valid only inside a handler).
OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event);
/// Dispatches `event` to `target` now (main thread).
OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target);
/// Sends a command-process event with `command` to `target`.
OSStatus ProcessHICommand(const HICommand* command);
OSStatus SendCommandToTarget(const HICommand* command, EventTargetRef target);

/// Event loops: the main thread's, and the run loop under it (which EventHack-style code wakes
/// after posting from another thread).
typedef struct OpaqueEventLoopRef* EventLoopRef;
EventLoopRef GetMainEventLoop(void);
/// The main loop on the main thread; NULL on other threads.
EventLoopRef GetCurrentEventLoop(void);
/// The CFRunLoopRef (as a CFTypeRef, not retained) of `loop`.
CFTypeRef GetCFRunLoopFromEventLoop(EventLoopRef loop);

/// The queue.
EventQueueRef GetMainEventQueue(void);
/// The main queue on the main thread; NULL on other threads.
EventQueueRef GetCurrentEventQueue(void);
/// Posts `event` (the queue retains it) and wakes the main run loop; it is dispatched by the
/// main thread's next loop pass to its post target (parameter kEventParamPostTarget) or else to
/// the application. eventAlreadyPostedErr when it already waits in the queue.
OSStatus PostEventToQueue(EventQueueRef queue, EventRef event, EventPriority priority);
OSStatus RemoveEventFromQueue(EventQueueRef queue, EventRef event);
Boolean IsEventInQueue(EventQueueRef queue, EventRef event);
ItemCount GetNumEventsInQueue(EventQueueRef queue);
/// Removes every event of the queue whose class and kind match `list`.
OSStatus FlushEventsMatchingListFromQueue(EventQueueRef queue, ItemCount numTypes,
                                          const EventTypeSpec* list);

/// Runs the main loop for at most `timeout` seconds (kEventDurationNoWait: dispatch what is
/// queued and return; kEventDurationForever: until QuitApplicationEventLoop). Main thread.
OSStatus RunCurrentEventLoop(EventTimeout timeout);
void RunApplicationEventLoop(void);
void QuitApplicationEventLoop(void);

/// Dispatches queued events until `QuitAppModalLoopForWindow(window)`; nests (a handler may run
/// another window's loop). With nothing queued it waits for a post (from a worker, a timer of
/// the run loop, simulated input or, under GTK, a person). errInvalidWindowRef for a bad window, errAlreadyInModalDialog when
/// the window's loop already runs. Returns noErr when quit, or eventLoopQuitErr when the window
/// was disposed while its loop ran.
OSStatus RunAppModalLoopForWindow(WindowRef window);
OSStatus QuitAppModalLoopForWindow(WindowRef window);
/// Marks the window as the modal one without a loop (the caller runs its own).
OSStatus BeginAppModalStateForWindow(WindowRef window);
OSStatus EndAppModalStateForWindow(WindowRef window);
/// The depth of running modal loops (0 outside any).
UInt32 HIAppModalDepth(void);

#ifdef __cplusplus
}
#endif
