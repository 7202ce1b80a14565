// Events, parameters, handlers and the dispatch along the target chain.
#include "HIEvent.h"
#include "HIObjects.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

hi::Target* AsTarget(EventTargetRef ref) { return reinterpret_cast<hi::Target*>(ref); }
EventTargetRef AsRef(hi::Target* target) { return reinterpret_cast<EventTargetRef>(target); }

/// A target is usable when its owner is still alive.
bool TargetLive(hi::Target* t) {
    if (!hi::IsLiveTarget(t))
        return false;
    switch (t->kind) {
    case hi::TargetKind::application:
        return t == &hi::ApplicationTarget();
    case hi::TargetKind::window:
        return hi::IsLiveWindow(static_cast<WindowRef>(t->owner)) &&
               &static_cast<WindowRef>(t->owner)->target == t;
    case hi::TargetKind::control:
        return hi::IsLiveControl(static_cast<ControlRef>(t->owner)) &&
               &static_cast<ControlRef>(t->owner)->target == t;
    }
    return false;
}

/// The targets an event sent to `t` visits, in order.
std::vector<hi::Target*> Chain(hi::Target* t) {
    std::vector<hi::Target*> chain;
    if (t->kind == hi::TargetKind::control) {
        ControlRef c = static_cast<ControlRef>(t->owner);
        for (; c != nullptr; c = c->parent)
            chain.push_back(&c->target);
        chain.push_back(&static_cast<ControlRef>(t->owner)->window->target);
    } else if (t->kind == hi::TargetKind::window) {
        chain.push_back(t);
    }
    chain.push_back(&hi::ApplicationTarget());
    return chain;
}

bool Wants(const hi::Handler& h, EventRef e) {
    if (h.removed)
        return false;
    for (const EventTypeSpec& wanted : h.types)
        if (wanted.eventClass == e->eventClass && wanted.eventKind == e->kind)
            return true;
    return false;
}

const OpaqueEventRef::Param* Find(EventRef e, EventParamName name) {
    for (const auto& p : e->params)
        if (p.name == name)
            return &p;
    return nullptr;
}

} // namespace

/// One dispatch in progress: the handlers it will call and where it stands.
struct OpaqueEventHandlerCallRef {
    std::vector<std::shared_ptr<hi::Handler>> handlers;
    size_t next = 0;
    hi::Target* start = nullptr;
    ControlRef startControl = nullptr; // to tell whether the control survived the handlers
    WindowRef startWindow = nullptr;
};

namespace {

/// The behaviour when no handler took the event.
OSStatus Standard(OpaqueEventHandlerCallRef& call, EventRef e) {
    if (e->eventClass == kEventClassControl && e->kind == kEventControlHit) {
        ControlRef c = nullptr;
        if (GetEventParameter(e, kEventParamDirectObject, typeControlRef, nullptr, sizeof c,
                              nullptr, &c) != noErr || !hi::IsLiveControl(c))
            return eventNotHandledErr;
        HICommand command{};
        command.attributes = kHICommandFromControl;
        command.commandID = c->command;
        if (c->kind == kControlKindPopupButton && c->menu && c->value >= 1 &&
            static_cast<size_t>(c->value) <= c->menu->items.size()) {
            command.attributes |= kHICommandFromMenu;
            command.menu.menuRef = c->menu;
            command.menu.menuItemIndex = static_cast<MenuItemIndex>(c->value);
            if (UInt32 itemCommand = c->menu->items[c->value - 1].command)
                command.commandID = itemCommand;
        }
        if (command.commandID == 0 && c->kind == kControlKindRadioButton && c->parent &&
            c->parent->kind == kControlKindRadioGroup)
            command.commandID = c->parent->command;
        if (command.commandID == 0)
            return eventNotHandledErr;
        return hi::SendCommand(command, GetControlEventTarget(c));
    }
    (void)call;
    return eventNotHandledErr;
}

OSStatus RunFrom(OpaqueEventHandlerCallRef& call, EventRef e) {
    while (call.next < call.handlers.size()) {
        std::shared_ptr<hi::Handler> h = call.handlers[call.next++];
        if (h->removed)
            continue;
        OSStatus result = h->proc(&call, e, h->userData);
        if (result != eventNotHandledErr)
            return result;
    }
    if (call.next == call.handlers.size()) {
        ++call.next; // the standard behaviour runs once per dispatch
        return Standard(call, e);
    }
    return eventNotHandledErr;
}

} // namespace

namespace hi {

Target& ApplicationTarget() {
    static Target* app = [] {
        auto* t = new Target;
        t->kind = TargetKind::application;
        return t;
    }();
    return *app;
}

void ClearTarget(Target& target) {
    for (auto& h : target.handlers)
        h->removed = true;
    target.handlers.clear();
}

WindowRef WindowOfTarget(EventTargetRef ref) {
    hi::Target* t = AsTarget(ref);
    if (!TargetLive(t))
        return nullptr;
    if (t->kind == TargetKind::window)
        return static_cast<WindowRef>(t->owner);
    if (t->kind == TargetKind::control)
        return static_cast<ControlRef>(t->owner)->window;
    return nullptr;
}

OSStatus SendControlEvent(ControlRef control, EventKind kind, ControlPartCode part) {
    EventRef e = nullptr;
    OSStatus err = CreateEvent(nullptr, kEventClassControl, kind, GetCurrentEventTime(), 0, &e);
    if (err != noErr)
        return err;
    SetEventParameter(e, kEventParamDirectObject, typeControlRef, sizeof control, &control);
    SetEventParameter(e, kEventParamControlPart, typeControlPartCode, sizeof part, &part);
    err = SendEventToEventTarget(e, GetControlEventTarget(control));
    ReleaseEvent(e);
    return err;
}

OSStatus SendCommand(const HICommand& command, EventTargetRef target) {
    EventRef e = nullptr;
    OSStatus err = CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess,
                               GetCurrentEventTime(), 0, &e);
    if (err != noErr)
        return err;
    SetEventParameter(e, kEventParamDirectObject, typeHICommand, sizeof command, &command);
    err = SendEventToEventTarget(e, target);
    ReleaseEvent(e);
    return err;
}

} // namespace hi

extern "C" {

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc) { return proc; }
void DisposeEventHandlerUPP(EventHandlerUPP) {}

OSStatus CreateEvent(CFAllocatorRef, EventClass eventClass, EventKind kind, EventTime when,
                     EventAttributes flags, EventRef* outEvent) {
    if (outEvent == nullptr)
        return paramErr;
    auto* e = new OpaqueEventRef;
    e->eventClass = eventClass;
    e->kind = kind;
    e->time = when == 0 ? GetCurrentEventTime() : when;
    e->attributes = flags;
    *outEvent = e;
    return noErr;
}

EventRef RetainEvent(EventRef event) {
    if (event)
        event->refs.fetch_add(1, std::memory_order_relaxed);
    return event;
}

void ReleaseEvent(EventRef event) {
    if (event && event->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete event;
}

EventRef CopyEvent(EventRef event) {
    if (event == nullptr)
        return nullptr;
    auto* e = new OpaqueEventRef;
    e->eventClass = event->eventClass;
    e->kind = event->kind;
    e->time = event->time;
    e->attributes = event->attributes;
    e->params = event->params;
    return e;
}

EventClass GetEventClass(EventRef event) { return event ? event->eventClass : 0; }
EventKind GetEventKind(EventRef event) { return event ? event->kind : 0; }
EventTime GetEventTime(EventRef event) { return event ? event->time : 0; }
OSStatus SetEventTime(EventRef event, EventTime when) {
    if (event == nullptr)
        return paramErr;
    event->time = when;
    return noErr;
}

EventTime GetCurrentEventTime(void) {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, UInt32 size,
                           const void* data) {
    if (event == nullptr || (data == nullptr && size > 0))
        return paramErr;
    // The platform's 14-byte command record is our whole HICommand.
    if (type == typeHICommand && size == 14)
        size = sizeof(HICommand);
    if (size > (1u << 20))
        return paramErr;
    OpaqueEventRef::Param p{name, type, std::vector<UInt8>(size)};
    if (size > 0)
        std::memcpy(p.bytes.data(), data, size);
    for (auto& existing : event->params)
        if (existing.name == name) {
            existing = std::move(p);
            return noErr;
        }
    event->params.push_back(std::move(p));
    return noErr;
}

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, UInt32 bufferSize,
                           UInt32* outActualSize, void* outData) {
    if (event == nullptr)
        return paramErr;
    const OpaqueEventRef::Param* p = Find(event, name);
    if (p == nullptr || (desiredType != typeWildCard && desiredType != p->type))
        return eventParameterNotFoundErr;
    if (desiredType == typeHICommand && bufferSize == 14)
        bufferSize = sizeof(HICommand);
    if (outActualType)
        *outActualType = p->type;
    if (outActualSize)
        *outActualSize = static_cast<UInt32>(p->bytes.size());
    if (outData && bufferSize > 0)
        std::memcpy(outData, p->bytes.data(), std::min<size_t>(bufferSize, p->bytes.size()));
    return noErr;
}

// Plain address computations that read nothing, so that a worker may target a window's event
// before posting it; the target is checked when the event is dispatched.
EventTargetRef GetWindowEventTarget(WindowRef window) {
    return window ? AsRef(&window->target) : nullptr;
}
EventTargetRef GetControlEventTarget(ControlRef control) {
    return control ? AsRef(&control->target) : nullptr;
}
EventTargetRef GetApplicationEventTarget(void) { return AsRef(&hi::ApplicationTarget()); }

/// A handler reference is the Handler itself, kept alive by its target's list.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef) {
    hi::Target* t = AsTarget(target);
    if (handler == nullptr || (numTypes > 0 && list == nullptr) || numTypes > 1024)
        return paramErr;
    if (!TargetLive(t))
        return eventInternalErr;
    auto h = std::make_shared<hi::Handler>();
    h->proc = handler;
    h->types.assign(list, list + numTypes);
    h->userData = userData;
    h->target = t;
    t->handlers.insert(t->handlers.begin(), h);
    if (outRef)
        *outRef = reinterpret_cast<EventHandlerRef>(h.get());
    return noErr;
}

} // extern "C"

namespace {
/// The live handler behind a reference, searched on every live target.
std::shared_ptr<hi::Handler> FindHandler(EventHandlerRef ref) {
    auto search = [ref](hi::Target& t) -> std::shared_ptr<hi::Handler> {
        for (auto& h : t.handlers)
            if (reinterpret_cast<EventHandlerRef>(h.get()) == ref)
                return h;
        return nullptr;
    };
    if (auto h = search(hi::ApplicationTarget()))
        return h;
    for (WindowRef w : hi::LiveWindows()) {
        if (auto h = search(w->target))
            return h;
        std::shared_ptr<hi::Handler> found;
        hi::Walk(w->root, [&](ControlRef c) {
            if (!found)
                found = search(c->target);
        });
        if (found)
            return found;
    }
    return nullptr;
}
} // namespace

extern "C" {

OSStatus RemoveEventHandler(EventHandlerRef handler) {
    // Looked up rather than trusted: a handler removed with its target leaves a dangling ref.
    std::shared_ptr<hi::Handler> h = FindHandler(handler);
    if (h == nullptr)
        return eventInternalErr;
    h->removed = true;
    auto& list = h->target->handlers;
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    return noErr;
}

OSStatus AddEventTypesToHandler(EventHandlerRef handler, ItemCount numTypes,
                                const EventTypeSpec* list) {
    std::shared_ptr<hi::Handler> h = FindHandler(handler);
    if (h == nullptr)
        return eventInternalErr;
    if ((numTypes > 0 && list == nullptr) || numTypes > 1024)
        return paramErr;
    h->types.insert(h->types.end(), list, list + numTypes);
    return noErr;
}

OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event) {
    if (callRef == nullptr || event == nullptr)
        return paramErr;
    return RunFrom(*callRef, event);
}

OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target) {
    hi::Target* t = AsTarget(target);
    if (event == nullptr)
        return paramErr;
    if (!TargetLive(t))
        return eventInternalErr;
    OpaqueEventHandlerCallRef call;
    call.start = t;
    RetainEvent(event);
    for (hi::Target* link : Chain(t))
        for (const auto& h : link->handlers)
            if (Wants(*h, event))
                call.handlers.push_back(h);
    OSStatus result = RunFrom(call, event);
    ReleaseEvent(event);
    return result;
}

OSStatus SendCommandToTarget(const HICommand* command, EventTargetRef target) {
    if (command == nullptr)
        return paramErr;
    return hi::SendCommand(*command, target);
}

OSStatus ProcessHICommand(const HICommand* command) {
    if (command == nullptr)
        return paramErr;
    WindowRef front = FrontWindow();
    return hi::SendCommand(*command, front ? GetWindowEventTarget(front) : GetApplicationEventTarget());
}

} // extern "C"
