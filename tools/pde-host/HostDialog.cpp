//===- HostDialog.cpp - The headless print dialog --------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "HostDialog.h"

#include <HIToolbox/HIDump.h>
#include <HIToolbox/HISimulation.h>

#include <CoreFoundation/PMCFUtilities.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// The command the pane's window processes when its background fetch has finished, and the
// event the pane sends its window when it starts one.
constexpr UInt32 kFetchFinished = 'QVFe';
constexpr UInt32 kFetchStartedClass = 'QVFs', kFetchStartedKind = 1;

} // namespace

HostDialog::HostDialog(HostExtension& extension, PMPrintSession session)
    : mExtension(extension), mSession(session) {}

HostDialog::~HostDialog() {
    StopWatchdog();
    if (mObserver)
        RemoveEventHandler(mObserver);
    if (mHostHandler)
        RemoveEventHandler(mHostHandler);
    if (mObserverUPP)
        DisposeEventHandlerUPP(mObserverUPP);
    if (mHostUPP)
        DisposeEventHandlerUPP(mHostUPP);
    if (mWindow && IsValidWindowPtr(mWindow))
        DisposeWindow(mWindow);
}

bool HostDialog::Build(const std::string& title, bool show) {
    const SInt16 margin = 20;
    Rect content = {80, 80, static_cast<SInt16>(80 + mExtension.Height() + 2 * margin),
                    static_cast<SInt16>(80 + mExtension.Width() + 2 * margin)};
    if (CreateNewWindow(kDocumentWindowClass, kWindowStandardHandlerAttribute, &content,
                        &mWindow) != noErr)
        return false;
    CFStringRef text = PMCFStringCreateWithUTF8(title);
    if (text) {
        SetWindowTitleWithCFString(mWindow, text);
        CFRelease(text);
    }
    Rect pane = {margin, margin, static_cast<SInt16>(margin + mExtension.Height()),
                 static_cast<SInt16>(margin + mExtension.Width())};
    if (CreateUserPaneControl(mWindow, &pane, kControlSupportsEmbedding, &mPane) != noErr)
        return false;
    if (show)
        ShowWindow(mWindow);
    mHostUPP = NewEventHandlerUPP(HandleHost);
    mObserverUPP = NewEventHandlerUPP(ObserveCommand);
    // From the start: initializing or opening the pane may start a fetch.
    InstallObserver();
    const EventTypeSpec types[] = {{kHostClass, kNext}, {kHostClass, kTimeout},
                                   {kHostClass, kFinish}, {kHostClass, kSettle}};
    return InstallEventHandler(GetApplicationEventTarget(), mHostUPP, 4, types, this,
                               &mHostHandler) == noErr;
}

void HostDialog::FitPaneToContent() {
    if (mPane == nullptr)
        return;
    Rect pane;
    GetControlBounds(mPane, &pane);
    Rect used = pane;
    std::vector<ControlRef> stack = {mPane};
    while (!stack.empty()) {
        ControlRef control = stack.back();
        stack.pop_back();
        Rect r;
        GetControlBounds(control, &r);
        used.bottom = std::max(used.bottom, r.bottom);
        used.right = std::max(used.right, r.right);
        UInt16 count = 0;
        CountSubControls(control, &count);
        for (UInt16 i = 1; i <= count; ++i) {
            ControlRef sub = nullptr;
            if (GetIndexedSubControl(control, i, &sub) == noErr && sub)
                stack.push_back(sub);
        }
    }
    if (used.bottom == pane.bottom && used.right == pane.right)
        return;
    SetControlBounds(mPane, &used);
    Rect window;
    GetWindowBounds(mWindow, kWindowContentRgn, &window);
    window.bottom = static_cast<SInt16>(window.bottom + used.bottom - pane.bottom);
    window.right = static_cast<SInt16>(window.right + used.right - pane.right);
    SetWindowBounds(mWindow, kWindowContentRgn, &window);
}

bool HostDialog::Run(const std::vector<HostAction>& actions, double timeout, nlohmann::json& log,
                     std::vector<std::string>& errors) {
    mActions = &actions;
    mNext = 0;
    mTimeout = timeout;
    mLog = &log;
    mErrors = &errors;
    mSimulationFailures = HISimulationFailures();
    if (mExtension.Open() == noErr)
        InstallObserver();
    PostNext();
    RunApplicationEventLoop();
    StopWatchdog();
    if (mExtension.IsOpen())
        mExtension.Close();
    return !mFailed;
}

void HostDialog::EndByPerson(bool print) {
    mWaitForPerson = false;
    mPrinted = print;
    Post(kFinish);
}

void HostDialog::Post(UInt32 kind) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kHostClass, kind, 0, 0, &event) != noErr)
        return;
    // The check of a wait comes after every event of standard or high priority: after what
    // the last action and the events it caused have posted (a command that restarts a fetch).
    PostEventToQueue(GetMainEventQueue(), event,
                     kind == kSettle ? kEventPriorityLow : kEventPriorityStandard);
    ReleaseEvent(event);
}

void HostDialog::PostNext() {
    Post(!mFailed && mActions && mNext < mActions->size() ? kNext : kFinish);
}

void HostDialog::Fail(const std::string& message) {
    mErrors->push_back(message);
    mFailed = true;
}

WindowRef HostDialog::Front() const {
    // The window order of the toolbox keeps a newly shown window behind the others; the dialog
    // a person faces is the one opened last.
    std::vector<WindowRef> windows = HICopyWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (IsWindowVisible(*it))
            return *it;
    return mWindow;
}

void HostDialog::InstallObserver() {
    // Handlers installed last are called first: the observer must come before the pane's own
    // handler, which takes the command, so it is put back after every open.
    if (mObserver)
        RemoveEventHandler(mObserver);
    mObserver = nullptr;
    const EventTypeSpec types[] = {{kEventClassCommand, kEventCommandProcess},
                                   {kFetchStartedClass, kFetchStartedKind}};
    InstallEventHandler(GetWindowEventTarget(mWindow), mObserverUPP, 2, types, this, &mObserver);
}

OSStatus HostDialog::ObserveCommand(EventHandlerCallRef, EventRef event, void* data) {
    auto* self = static_cast<HostDialog*>(data);
    if (GetEventClass(event) == kFetchStartedClass) {
        self->mFetchRunning = true;
        return eventNotHandledErr;
    }
    HICommand command;
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) == noErr &&
        command.commandID == kFetchFinished) {
        // One end answers every start so far: the pane restarts a running fetch rather than
        // run two, and its end handling waits for whatever still runs.
        self->mFetchRunning = false;
        // Checked once the pane has processed this command and what it posted in turn.
        if (self->mWaiting)
            self->Post(kSettle);
    }
    return eventNotHandledErr;
}

OSStatus HostDialog::HandleHost(EventHandlerCallRef, EventRef event, void* data) {
    auto* self = static_cast<HostDialog*>(data);
    // Input queued by the previous action has run by now: did it find its target?
    if (HISimulationFailures() != self->mSimulationFailures) {
        self->mSimulationFailures = HISimulationFailures();
        if (!self->mFailed)
            self->Fail(self->mPending + ": no such window or control");
    }
    switch (GetEventKind(event)) {
    case kNext:
        if (self->mFailed || self->mNext >= self->mActions->size()) {
            self->Post(kFinish);
        } else {
            const HostAction& action = (*self->mActions)[self->mNext++];
            self->Perform(action);
        }
        return noErr;
    case kSettle:
        // A fetch still running, or started since, is waited for: its end checks again.
        if (self->mWaiting && !self->mFetchRunning) {
            self->mWaiting = false;
            self->StopWatchdog();
            self->PostNext();
        }
        return noErr;
    case kTimeout:
        if (self->mWaiting) {
            self->mWaiting = false;
            self->Fail("wait-fetch: no background fetch finished within " +
                       std::to_string(static_cast<long>(self->mTimeout)) + " s");
            self->Post(kFinish);
        }
        return noErr;
    case kFinish:
        if (self->mWaiting || (self->mWaitForPerson && !self->mFailed))
            return noErr;
        if (self->Front() != self->mWindow) {
            // A dialog or sheet left open: cancel it as a person closing the print dialog would.
            WindowRef dialog = self->Front();
            if (++self->mCancelTries > 3) {
                self->Fail("a dialog left open does not close");
                if (HIAppModalDepth() > 0)
                    QuitAppModalLoopForWindow(dialog);
                WindowRef parent = nullptr;
                if (GetSheetWindowParent(dialog, &parent) == noErr && parent)
                    HideSheetWindow(dialog);
                else
                    HideWindow(dialog);
                self->mCancelTries = 0;
            } else {
                self->mPending = "cancelling the dialog left open";
                HISimulatePressButton(dialog, kHICommandCancel);
            }
            self->Post(kFinish);
            return noErr;
        }
        if (self->mBeforeEnd) {
            auto hook = std::move(self->mBeforeEnd);
            self->mBeforeEnd = nullptr;
            hook();
        }
        QuitApplicationEventLoop();
        return noErr;
    default:
        return eventNotHandledErr;
    }
}

void HostDialog::Perform(const HostAction& action) {
    mPending = action.source;
    ControlID id = {action.signature, action.id};
    WindowRef front = Front();
    OSStatus status = noErr;
    switch (action.kind) {
    case HostAction::Click:
        status = HISimulateClick(front, &id);
        break;
    case HostAction::Choose:
        status = HISimulateChoosePopupItem(front, &id, static_cast<MenuItemIndex>(action.item));
        break;
    case HostAction::Type:
        status = HISimulateTypeText(front, &id, action.text.c_str());
        break;
    case HostAction::Command: {
        EventRef event = nullptr;
        status = CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &event);
        if (status == noErr) {
            HICommand command = {0, action.code, {}};
            SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof command,
                              &command);
            EventTargetRef target = GetWindowEventTarget(front);
            SetEventParameter(event, kEventParamPostTarget, typeEventTargetRef, sizeof target,
                              &target);
            status = PostEventToQueue(GetMainEventQueue(), event, kEventPriorityStandard);
            ReleaseEvent(event);
        }
        break;
    }
    case HostAction::Ok:
    case HostAction::Cancel:
        // The dialog in front may run its own modal loop or be a sheet on the print dialog that
        // runs none: either way the person presses its button, whose command closes it.
        if (front == nullptr || front == mWindow) {
            Fail(action.source + ": no dialog is open");
            PostNext();
            return;
        }
        status = HISimulatePressButton(front, action.kind == HostAction::Ok ? kHICommandOK
                                                                            : kHICommandCancel);
        break;
    case HostAction::WaitFetch:
        // Once the events already queued have run: done when no fetch is running then (nor
        // has its end still queued), else when its end has been processed.
        mWaiting = true;
        StartWatchdog(mTimeout);
        Post(kSettle);
        return;
    case HostAction::Load:
    case HostAction::Store:
        status = mExtension.Sync(mSession, action.kind == HostAction::Load);
        if (status != noErr)
            Fail(action.source + ": the extension answered " + std::to_string(status));
        status = noErr;
        // A loading sync may show the pane again, with its handlers put in front.
        InstallObserver();
        break;
    case HostAction::Summary: {
        std::vector<HostExtension::SummaryLine> lines;
        mExtension.Summary(lines);
        nlohmann::json summary = nlohmann::json::array();
        for (const auto& line : lines)
            summary.push_back({{"title", line.title}, {"value", line.value}});
        (*mLog).push_back({{"action", "summary"}, {"summary", summary}});
        break;
    }
    case HostAction::Dump: {
        nlohmann::json windows = nlohmann::json::array();
        for (WindowRef window : HICopyWindowList())
            if (IsWindowVisible(window))
                windows.push_back(nlohmann::json::parse(HICopyWindowJSON(window, -1), nullptr, false));
        (*mLog).push_back({{"action", "dump"}, {"windows", windows}});
        break;
    }
    case HostAction::Open:
        if (mExtension.Open() == noErr)
            InstallObserver();
        break;
    case HostAction::Close:
        mExtension.Close();
        break;
    }
    if (status != noErr)
        Fail(action.source + ": cannot be performed (" + std::to_string(status) + ")");
    // Posted after the input it queued, before anything it may start runs a modal loop.
    PostNext();
}

void HostDialog::StartWatchdog(double seconds) {
    StopWatchdog();
    mWatchStop = false;
    mWatchdog = std::thread([this, seconds] {
        std::unique_lock<std::mutex> lock(mWatchLock);
        auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<long>(seconds * 1000));
        if (!mWatchWake.wait_until(lock, deadline, [this] { return mWatchStop; })) {
            lock.unlock();
            Post(kTimeout);
        }
    });
}

void HostDialog::StopWatchdog() {
    {
        std::lock_guard<std::mutex> guard(mWatchLock);
        mWatchStop = true;
    }
    mWatchWake.notify_all();
    if (mWatchdog.joinable() && mWatchdog.get_id() != std::this_thread::get_id())
        mWatchdog.join();
}
