// Events, the handler chain, the queue, modal loops and simulated input (headless).
#include "HIToolboxTestSupport.h"

#include <HIToolbox/HIDump.h>

#include <CoreFoundation/CFRunLoop.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

const EventTypeSpec kPaneEvents[] = {{kEventClassCommand, kEventCommandProcess},
                                     {kEventClassControl, kEventControlHit},
                                     {kEventClassControl, kEventControlClick}};

/// Records every event a handler sees as "where:class/kind[:command]" and answers `answer`.
struct Recorder {
    std::vector<std::string>* log;
    std::string where;
    OSStatus answer = eventNotHandledErr;
};

OSStatus Record(EventHandlerCallRef, EventRef e, void* data) {
    auto* r = static_cast<Recorder*>(data);
    std::string line = r->where + ":" + HIFourCharCodeText(GetEventClass(e)) + "/" +
                       std::to_string(GetEventKind(e));
    HICommand command{};
    if (GetEventParameter(e, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) == noErr) {
        line += ":" + HIFourCharCodeText(command.commandID);
        if (command.attributes & kHICommandFromMenu)
            line += "#" + std::to_string(command.menu.menuItemIndex);
    }
    r->log->push_back(line);
    return r->answer;
}

} // namespace

TEST(HandlerChain, ControlThenEmbedderThenWindowThenApplication) {
    NibWindow nib;
    std::vector<std::string> log;
    Recorder onButton{&log, "button"}, onBox{&log, "box"}, onWindow{&log, "window"},
        onApp{&log, "app"};
    EventHandlerRef hb, hx, hw, ha;
    InstallControlEventHandler(nib.get('Cntl', 108), Record, 3, kPaneEvents, &onButton, &hb);
    InstallControlEventHandler(nib.get('BoxC', 101), Record, 3, kPaneEvents, &onBox, &hx);
    InstallWindowEventHandler(nib.window, Record, 3, kPaneEvents, &onWindow, &hw);
    InstallApplicationEventHandler(Record, 3, kPaneEvents, &onApp, &ha);
    ControlID settings{'Cntl', 108};
    HISimulateClick(nib.window, &settings);
    HIProcessPendingEvents();
    // Click, hit, then the button's command, each passed along the whole chain.
    std::vector<std::string> expected;
    for (const char* event : {"cntl/13", "cntl/1", "cmds/1:EClr"})
        for (const char* where : {"button", "box", "window", "app"})
            expected.push_back(std::string(where) + ":" + event);
    EXPECT_EQ(log, expected);

    // A handler that takes the hit stops the chain, and the command is never sent.
    log.clear();
    Recorder takesHits{&log, "taker", noErr};
    InstallControlEventHandler(nib.get('BoxC', 101), Record, 1, &kPaneEvents[1], &takesHits, nullptr);
    HISimulateClick(nib.window, &settings);
    HIProcessPendingEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"button:cntl/13", "box:cntl/13", "window:cntl/13",
                                             "app:cntl/13", "button:cntl/1", "taker:cntl/1"}));
    EXPECT_EQ(RemoveEventHandler(ha), noErr);
    EXPECT_EQ(RemoveEventHandler(ha), eventInternalErr);
}

namespace {
struct Next {
    std::vector<std::string>* log;
    OSStatus afterNext = 0;
};
OSStatus CallsNext(EventHandlerCallRef call, EventRef e, void* data) {
    auto* n = static_cast<Next*>(data);
    n->log->push_back("before");
    n->afterNext = CallNextEventHandler(call, e);
    n->log->push_back("after");
    return noErr;
}
} // namespace

TEST(HandlerChain, CallNextEventHandlerRunsTheRestOnce) {
    TestWindow w;
    std::vector<std::string> log;
    Recorder later{&log, "later", 'done'};
    Next first{&log};
    InstallWindowEventHandler(w, Record, 1, kPaneEvents, &later, nullptr);
    InstallWindowEventHandler(w, CallsNext, 1, kPaneEvents, &first, nullptr); // runs first
    HICommand command{0, 'test', {nullptr, 0}};
    EXPECT_EQ(SendCommandToTarget(&command, GetWindowEventTarget(w)), noErr);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "later:cmds/1:test", "after"}));
    EXPECT_EQ(first.afterNext, static_cast<OSStatus>('done'));
    // With nobody after it, the next handler is the standard one: not handled.
    log.clear();
    TestWindow alone;
    InstallWindowEventHandler(alone, CallsNext, 1, kPaneEvents, &first, nullptr);
    SendCommandToTarget(&command, GetWindowEventTarget(alone));
    EXPECT_EQ(first.afterNext, eventNotHandledErr);
}

TEST(Events, ParametersAndTheirTypes) {
    EventRef e = nullptr;
    ASSERT_EQ(CreateEvent(nullptr, 'QVCl', 'QVTy', 0, kEventAttributeUserEvent, &e), noErr);
    EXPECT_EQ(GetEventClass(e), static_cast<EventClass>('QVCl'));
    EXPECT_GT(GetEventTime(e), 0.0);
    HICommand command{102, 'tApp', {nullptr, 0}};
    // The platform's 14-byte form of the record is the whole command here.
    EXPECT_EQ(SetEventParameter(e, kEventParamDirectObject, typeHICommand, 14, &command), noErr);
    UInt32 state = 5;
    SetEventParameter(e, 'kcod', typeUInt32, sizeof state, &state);
    HICommand back{};
    EXPECT_EQ(GetEventParameter(e, kEventParamDirectObject, typeHICommand, nullptr, 14, nullptr, &back), noErr);
    EXPECT_EQ(back.attributes, 102u);
    EXPECT_EQ(back.commandID, static_cast<UInt32>('tApp'));
    UInt32 got = 0;
    EventParamType type = 0;
    EXPECT_EQ(GetEventParameter(e, 'kcod', typeWildCard, &type, sizeof got, nullptr, &got), noErr);
    EXPECT_EQ(got, 5u);
    EXPECT_EQ(type, static_cast<EventParamType>(typeUInt32));
    EXPECT_EQ(GetEventParameter(e, 'kcod', typeSInt16, nullptr, sizeof got, nullptr, &got),
              eventParameterNotFoundErr);
    EXPECT_EQ(GetEventParameter(e, 'kerc', typeUInt32, nullptr, sizeof got, nullptr, &got),
              eventParameterNotFoundErr);
    ReleaseEvent(e);
}

TEST(EventQueue, PrioritiesThenPostingOrderToThePostTarget) {
    TestWindow w;
    std::vector<std::string> log;
    Recorder onWindow{&log, "window", noErr};
    InstallWindowEventHandler(w, Record, 1, kPaneEvents, &onWindow, nullptr);
    EventTargetRef target = GetWindowEventTarget(w);
    auto post = [&](UInt32 id, EventPriority priority) {
        EventRef e = nullptr;
        CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &e);
        HICommand command{0, id, {nullptr, 0}};
        SetEventParameter(e, kEventParamDirectObject, typeHICommand, sizeof command, &command);
        SetEventParameter(e, kEventParamPostTarget, typeEventTargetRef, sizeof target, &target);
        EXPECT_EQ(PostEventToQueue(GetMainEventQueue(), e, priority), noErr);
        EXPECT_EQ(PostEventToQueue(GetMainEventQueue(), e, priority), eventAlreadyPostedErr);
        ReleaseEvent(e);
    };
    post('low1', kEventPriorityLow);
    post('std1', kEventPriorityStandard);
    post('hig1', kEventPriorityHigh);
    post('std2', kEventPriorityStandard);
    post('hig2', kEventPriorityHigh);
    EXPECT_EQ(GetNumEventsInQueue(GetMainEventQueue()), 5u);
    HIProcessPendingEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"window:cmds/1:hig1", "window:cmds/1:hig2",
                                             "window:cmds/1:std1", "window:cmds/1:std2",
                                             "window:cmds/1:low1"}));
    EventRef e = nullptr;
    CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &e);
    EXPECT_EQ(PostEventToQueue(GetMainEventQueue(), e, 3), paramErr);
    ReleaseEvent(e);
}

// A post naming a window or control that goes away before dispatch is dropped, and only it.
TEST(EventQueue, EventsPostedToADisposedTargetAreDropped) {
    std::vector<std::string> log;
    Recorder onApp{&log, "app"};
    EventHandlerRef ref = nullptr;
    InstallApplicationEventHandler(Record, 1, kPaneEvents, &onApp, &ref);
    WindowRef w = nullptr;
    Rect r{0, 0, 10, 10};
    CreateNewWindow(kDocumentWindowClass, 0, &r, &w);
    TestWindow owner;
    ControlRef c = nullptr;
    CreatePushButtonControl(owner, &r, Str("x"), &c);
    auto post = [](EventTargetRef target) {
        EventRef e = nullptr;
        CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &e);
        SetEventParameter(e, kEventParamPostTarget, typeEventTargetRef, sizeof target, &target);
        PostEventToQueue(GetMainEventQueue(), e, kEventPriorityStandard);
        return e;
    };
    EventRef toWindow = post(GetWindowEventTarget(w)), toControl = post(GetControlEventTarget(c));
    DisposeWindow(w);
    EXPECT_FALSE(IsEventInQueue(GetMainEventQueue(), toWindow));
    EXPECT_TRUE(IsEventInQueue(GetMainEventQueue(), toControl));
    DisposeControl(c);
    EXPECT_FALSE(IsEventInQueue(GetMainEventQueue(), toControl));
    ReleaseEvent(toWindow);
    ReleaseEvent(toControl);
    HIProcessPendingEvents();
    EXPECT_TRUE(log.empty());
    RemoveEventHandler(ref);
}

namespace {
struct Dialogs {
    NibWindow outer{"Address"};
    NibWindow inner{"Address"};
    std::vector<std::string> log;
};

/// The outer dialog's OK opens the inner dialog modally; each dialog's OK or Cancel ends its
/// own loop.
struct Dialog {
    Dialogs* all;
    WindowRef window;
    const char* name;
};

OSStatus OneDialog(EventHandlerCallRef, EventRef e, void* data) {
    auto* d = static_cast<Dialog*>(data);
    HICommand command{};
    GetEventParameter(e, kEventParamDirectObject, typeHICommand, nullptr, sizeof command, nullptr, &command);
    d->all->log.push_back(std::string(d->name) + ":" + HIFourCharCodeText(command.commandID) +
                          ":depth" + std::to_string(HIAppModalDepth()));
    if (command.commandID == 'ok  ' && d->window == d->all->outer.window) {
        // Input for the inner dialog was queued before it opened: it runs inside its loop.
        ShowWindow(d->all->inner.window);
        OSStatus err = RunAppModalLoopForWindow(d->all->inner.window);
        d->all->log.push_back("inner loop ended " + std::to_string(err));
    }
    if (command.commandID == 'ok  ' || command.commandID == 'not!') {
        HideWindow(d->window);
        QuitAppModalLoopForWindow(d->window);
        return noErr;
    }
    return eventNotHandledErr;
}
} // namespace

TEST(ModalLoops, NestAndRunInputQueuedBeforeTheDialogOpened) {
    Dialogs d;
    Dialog outer{&d, d.outer.window, "outer"}, inner{&d, d.inner.window, "inner"};
    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    InstallWindowEventHandler(d.outer.window, OneDialog, 1, &command, &outer, nullptr);
    InstallWindowEventHandler(d.inner.window, OneDialog, 1, &command, &inner, nullptr);
    ControlID field{'paed', 0};
    // All queued up front: typing into the outer field, OK on the outer, then the inner's input.
    HISimulateTypeText(d.outer.window, &field, "srv-1.local");
    HISimulatePressButton(d.outer.window, 'ok  ');
    HISimulateTypeText(d.inner.window, &field, "abc\x08");
    HISimulateKey(d.inner.window, 0x1B); // escape: the inner's Cancel
    ShowWindow(d.outer.window);
    EXPECT_EQ(HIAppModalDepth(), 0u);
    ASSERT_EQ(RunAppModalLoopForWindow(d.outer.window), noErr);
    EXPECT_EQ(HIAppModalDepth(), 0u);
    EXPECT_EQ(d.log, (std::vector<std::string>{"outer:ok  :depth1", "inner:not!:depth2",
                                               "inner loop ended 0"}));
    EXPECT_EQ(Text(d.outer.get('paed', 0)), "srv-1.local");
    EXPECT_EQ(Text(d.inner.get('paed', 0)), "ab");
    EXPECT_EQ(HISimulationFailures(), 0u);
    EXPECT_EQ(RunAppModalLoopForWindow(nullptr), errInvalidWindowRef);
}

TEST(SimulatedInput, CheckBoxesRadioButtonsPopupsAndDisabledControls) {
    NibWindow nib;
    std::vector<std::string> log;
    Recorder onWindow{&log, "w"};
    InstallWindowEventHandler(nib.window, Record, 3, kPaneEvents, &onWindow, nullptr);
    ControlID smooth{'Cntl', 303}, grey{'sRd1', 303}, bright{'Cntl', 103}, combine{'Cntl', 304};
    ControlRef box = nib.get('Cntl', 303);
    EXPECT_EQ(GetControl32BitValue(box), 1);
    HISimulateClick(nib.window, &smooth);
    HISimulateClick(nib.window, &grey);
    HISimulateChoosePopupItem(nib.window, &bright, 1);
    HISimulateChoosePopupItem(nib.window, &bright, 4);
    HIProcessPendingEvents();
    EXPECT_EQ(GetControl32BitValue(box), 0);
    EXPECT_EQ(GetControl32BitValue(nib.get('sRdG', 300)), 3);
    EXPECT_EQ(GetControl32BitValue(nib.get('Cntl', 103)), 4);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "w:cntl/13", "w:cntl/1", "w:cmds/1:Smth",    // check box
                       "w:cntl/13", "w:cntl/1", "w:cmds/1:mode",    // radio: the group's command
                       "w:cntl/13", "w:cntl/1", "w:cmds/1:Bri1#1",  // the item's own command
                       "w:cntl/13", "w:cntl/1", "w:cmds/1:Brit#4"})); // else the popup's
    // A disabled control and a disabled menu item take no input.
    const UInt32 failures = HISimulationFailures();
    log.clear();
    HISimulateClick(nib.window, &combine);
    HISimulateChoosePopupItem(nib.window, &bright, 5);
    ControlID nothing{'none', 1};
    HISimulateClick(nib.window, &nothing);
    HIProcessPendingEvents();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(HISimulationFailures(), failures + 3);
}

namespace {
void DrawArrow(ControlRef pane, ControlPartCode) {
    Rect r;
    GetControlBounds(pane, &r);
    Pattern gray;
    PenPat(GetQDGlobalsGray(&gray));
    PenSize(2, 2);
    MoveTo(r.left, static_cast<short>(r.top + 10));
    LineTo(static_cast<short>(r.right - 4), static_cast<short>(r.top + 10));
    PenNormal();
}
} // namespace

TEST(Dump, EveryControlWithMenusAndRecordedDrawing) {
    NibWindow nib;
    ControlRef line = nib.get('Line', 14);
    ControlUserPaneDrawUPP draw = NewControlUserPaneDrawUPP(DrawArrow);
    SetControlData(line, 0, kControlUserPaneDrawProcTag, sizeof draw, &draw);
    auto json = nlohmann::json::parse(HICopyWindowJSON(nib.window));
    // Kinds, classes and menus are checked from the outside by nibtool's tests.
    EXPECT_EQ(json["title"], "Colour");
    EXPECT_EQ(json["bounds"], nlohmann::json({100, 100, 300, 625}));
    auto& controls = json["controls"];
    ASSERT_EQ(controls.size(), 18u);
    EXPECT_EQ(controls[1]["parent"], 0);
    EXPECT_EQ(controls[2]["signature"], "sRd1");
    EXPECT_EQ(controls[2]["parent"], 1);
    EXPECT_EQ(controls[2]["value"], 1);
    for (auto& c : controls) {
        if (c["signature"] == "Cntl" && c["id"] == 103) {
            EXPECT_EQ(c["value"], 3);
            EXPECT_EQ(c["maximum"], 5);
        }
        if (c["signature"] == "arro") {
            EXPECT_EQ(c["visible"], false);
        }
        if (c["signature"] == "Line") {
            EXPECT_EQ(c["drawing"].size(), 5u);
            EXPECT_EQ(c["drawing"][2], nlohmann::json({{"op", "moveTo"}, {"h", 430}, {"v", 138}}));
            EXPECT_EQ(c["drawing"][3], nlohmann::json({{"op", "lineTo"}, {"h", 509}, {"v", 138}}));
        }
        if (c["signature"] == "Cntl" && c["id"] == 110) {
            EXPECT_EQ(c["font_size"], 11);
        }
    }
}

namespace {
OSStatus RecordWindow(EventHandlerCallRef, EventRef e, void* data) {
    auto* log = static_cast<std::vector<std::string>*>(data);
    WindowRef w = nullptr;
    GetEventParameter(e, kEventParamDirectObject, typeWindowRef, nullptr, sizeof w, nullptr, &w);
    CFStringRef title = nullptr;
    CopyWindowTitleAsCFString(w, &title);
    log->push_back(PMCFStringCopyUTF8(title) + (GetEventKind(e) == kEventWindowActivated ? "+" : "-"));
    CFRelease(title);
    return noErr;
}
} // namespace

TEST(Windows, ActivationFollowsTheFrontWindow) {
    std::vector<std::string> log;
    const EventTypeSpec types[] = {{kEventClassWindow, kEventWindowActivated},
                                   {kEventClassWindow, kEventWindowDeactivated}};
    EventHandlerRef ref = nullptr;
    InstallApplicationEventHandler(RecordWindow, 2, types, &log, &ref);
    {
        TestWindow parent, sheet(kSheetWindowClass);
        SetWindowTitleWithCFString(parent, Str("parent"));
        SetWindowTitleWithCFString(sheet, Str("sheet"));
        ShowWindow(parent);
        ShowSheetWindow(sheet, parent);
        HideSheetWindow(sheet);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"parent+", "parent-", "sheet+", "sheet-", "parent+"}));
    RemoveEventHandler(ref);
}

TEST(Controls, TrackingAClickAnswersThePartReleasedIn) {
    TestWindow w;
    Rect r{0, 0, 20, 100};
    ControlRef box = nullptr;
    CreateCheckBoxControl(w, &r, Str("x"), 0, true, &box);
    EXPECT_EQ(TrackControl(box, Point{5, 5}, nullptr), kControlCheckBoxPart);
    DisableControl(box);
    EXPECT_EQ(TrackControl(box, Point{5, 5}, nullptr), kControlNoPart);
    // The main event loop's run loop is the main run loop (what EventHack wakes).
    EXPECT_EQ(GetCFRunLoopFromEventLoop(GetMainEventLoop()), static_cast<CFTypeRef>(CFRunLoopGetMain()));
}
