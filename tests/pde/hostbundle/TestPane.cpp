// The host test bundle's pane and its factory.
#include "TestPane.h"

#include "JobTicket.h"
#include "PDEPlugIn.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"

#include <CoreFoundation/PMCFUtilities.h>
#include <HIToolbox/IBCarbonRuntime.h>

#include <chrono>

namespace {

CFStringRef Key(const char* suffix) {
    return PMCFStringCreateWithUTF8(PMCFStringCopyUTF8(TestPane::BundleID()) + suffix);
}

const char* const kModes[] = {"Fast", "Fine", "Draft"};

} // namespace

extern "C" __attribute__((visibility("default"))) void* HostTestPaneFactory(CFAllocatorRef allocator,
                                                                           CFUUIDRef typeID) {
    return PDEPlugInFactory(allocator, typeID, PDEPaneClassOf<TestPane>());
}

CFStringRef TestPane::BundleID() {
    return CFSTR("com.qrv.print.pde.hosttest.PGse");
}

CFStringRef TestPane::CreateNIBName() {
    return CFStringCreateCopy(nullptr, CFSTR("TestPane"));
}

TestPane::TestPane() {
    if (CFBundleRef bundle = CFBundleGetBundleWithIdentifier(BundleID()))
        mTitle = CFBundleCopyLocalizedString(bundle, CFSTR("PDE Panel Title"), nullptr, nullptr);
}

TestPane::~TestPane() {
    if (mFetch.joinable())
        mFetch.join();
    Close();
    if (mUPP)
        DisposeEventHandlerUPP(mUPP);
    if (mTitle)
        CFRelease(mTitle);
}

ControlRef TestPane::Control(OSType signature, SInt32 id) const {
    ControlID cid = {signature, id};
    ControlRef control = nullptr;
    return mWindow && GetControlByID(mWindow, &cid, &control) == noErr ? control : nullptr;
}

OSStatus TestPane::Initialize(PMPDEFlags* flags, PMPDERef, ControlRef parent,
                              PMPrintSession session) {
    PMTicketRef info = nullptr;
    if (PMSessionGetTicketFromSession(session, kPDE_PMPrinterInfoRef, &info) != noErr ||
        !PMTicketContainsItem(info, kPMTopLevel, kPMTopLevel, kPMCompiledPPDKey))
        return 1;
    *flags = kPMPDENoFlags;
    if (parent == nullptr)
        return 1;
    // Controls cannot move between windows: the pane's are made in the dialog's window.
    WindowRef window = GetControlOwner(parent);
    Rect pane;
    GetControlBounds(parent, &pane);
    auto at = [&](SInt16 top, SInt16 left, SInt16 bottom, SInt16 right) {
        Rect r = {top, left, bottom, right};
        OffsetRect(&r, pane.left, pane.top);
        return r;
    };
    auto place = [&](ControlRef control, OSType signature, SInt32 number, UInt32 command) {
        ControlID id = {signature, number};
        SetControlID(control, &id);
        if (command)
            SetControlCommandID(control, command);
        EmbedControl(control, parent);
    };
    ControlRef control = nullptr;
    Rect r = at(12, 12, 32, 260);
    MenuRef menu = nullptr;
    CreateNewMenu(0, 0, &menu);
    for (const char* mode : kModes) {
        CFStringRef title = PMCFStringCreateWithUTF8(mode);
        AppendMenuItemTextWithCFString(menu, title, 0, 0, nullptr);
        CFRelease(title);
    }
    CreatePopupButtonControl(window, &r, CFSTR("Mode: "), -12345, false, -1, 0, 0, &control);
    SetControlPopupMenuRef(control, menu);
    ReleaseMenu(menu);
    SetControlMaximum(control, 3);
    SetControlValue(control, 1);
    place(control, 'tpop', 1, 0);
    r = at(40, 12, 58, 260);
    CreateCheckBoxControl(window, &r, CFSTR("Smoothing"), 0, true, &control);
    place(control, 'tchk', 1, 0);
    r = at(70, 12, 86, 260);
    CreateStaticTextControl(window, &r, CFSTR("Idle"), nullptr, &control);
    place(control, 'stat', 1, 0);
    r = at(100, 12, 120, 120);
    CreatePushButtonControl(window, &r, CFSTR("Note..."), &control);
    place(control, 'note', 1, 'Note');
    r = at(100, 130, 120, 240);
    CreatePushButtonControl(window, &r, CFSTR("Fetch"), &control);
    place(control, 'ftch', 1, 'Ftch');
    mParent = parent;
    mWindow = window;
    // As the colour pane does, the pane starts from the choices saved in the ticket.
    return Sync(session, true);
}

std::string TestPane::ModeTitle() const {
    ControlRef popup = Control('tpop', 1);
    SInt16 value = popup ? GetControlValue(popup) : 0;
    return value >= 1 && value <= 3 ? kModes[value - 1] : "";
}

OSStatus TestPane::Sync(PMPrintSession session, Boolean reinitialize) {
    PrintSettingsTicket settings(session);
    if (!settings.Valid())
        return 1;
    ControlRef popup = Control('tpop', 1), check = Control('tchk', 1);
    if (popup == nullptr || check == nullptr)
        return noErr;
    if (reinitialize) {
        CFDataRef data = nullptr;
        settings.Get(BundleID(), data);
        CFPropertyListRef state =
            data ? CFPropertyListCreateWithData(nullptr, data, 0, nullptr, nullptr) : nullptr;
        if (CFGetTypeID(state) == CFArrayGetTypeID() &&
            CFArrayGetCount(static_cast<CFArrayRef>(state)) == 3) {
            SInt32 mode = 0, smooth = 0;
            CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(state), 0)),
                             kCFNumberSInt32Type, &mode);
            CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(state), 1)),
                             kCFNumberSInt32Type, &smooth);
            if (mode >= 1 && mode <= 3)
                SetControlValue(popup, static_cast<SInt16>(mode));
            SetControlValue(check, smooth ? 1 : 0);
            mNote = PMCFStringCopyUTF8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(static_cast<CFArrayRef>(state), 2)));
        }
        if (state)
            CFRelease(state);
        return noErr;
    }
    CFStringRef modeKey = Key(".ColorMode");
    CFStringRef mode = PMCFStringCreateWithUTF8(ModeTitle());
    settings.Set(BundleID(), modeKey, mode, false);
    SInt32 values[2] = {GetControlValue(popup), GetControlValue(check)};
    CFNumberRef numbers[2] = {CFNumberCreate(nullptr, kCFNumberSInt32Type, &values[0]),
                              CFNumberCreate(nullptr, kCFNumberSInt32Type, &values[1])};
    CFStringRef note = PMCFStringCreateWithUTF8(mNote);
    const void* items[3] = {numbers[0], numbers[1], note ? note : CFSTR("")};
    CFArrayRef state = CFArrayCreate(nullptr, items, 3, &kCFTypeArrayCallBacks);
    CFDataRef archive = CFPropertyListCreateData(nullptr, state, kCFPropertyListXMLFormat_v1_0, 0,
                                                 nullptr);
    settings.Set(BundleID(), BundleID(), archive, false);

    CFStringRef jobKey = Key("");
    CFStringRef psKey = PMCFStringCreateWithUTF8("QRV.PSData." + PMCFStringCopyUTF8(BundleID()));
    QRVJobTicket job(&settings, psKey);
    std::string feature = "%%BeginFeature: *TestMode " + ModeTitle() + "\n/TestMode (" +
                          ModeTitle() + ") def\n%%EndFeature\n";
    job.Add(81, const_cast<char*>(feature.data()), feature.size());
    job.Add(-9, const_cast<char*>(mNote.data()), mNote.size());
    bool saved = job.Save(BundleID());
    for (CFTypeRef object : {static_cast<CFTypeRef>(modeKey), static_cast<CFTypeRef>(mode),
                             static_cast<CFTypeRef>(numbers[0]), static_cast<CFTypeRef>(numbers[1]),
                             static_cast<CFTypeRef>(note), static_cast<CFTypeRef>(state),
                             static_cast<CFTypeRef>(archive), static_cast<CFTypeRef>(jobKey),
                             static_cast<CFTypeRef>(psKey)})
        if (object)
            CFRelease(object);
    return saved ? noErr : 1;
}

OSStatus TestPane::GetSummaryText(CFArrayRef* titles, CFArrayRef* values) {
    if (titles == nullptr || values == nullptr)
        return kPMInvalidPDEContext;
    ControlRef check = Control('tchk', 1);
    CFStringRef mode = PMCFStringCreateWithUTF8(ModeTitle());
    const void* t[] = {CFSTR("Mode"), CFSTR("Smoothing")};
    const void* v[] = {mode, check && GetControlValue(check) ? CFSTR("On") : CFSTR("Off")};
    *titles = CFArrayCreate(nullptr, t, 2, &kCFTypeArrayCallBacks);
    *values = CFArrayCreate(nullptr, v, 2, &kCFTypeArrayCallBacks);
    CFRelease(mode);
    return noErr;
}

OSStatus TestPane::Open() {
    if (mWindow == nullptr || mHandler)
        return noErr;
    const EventTypeSpec command = {kEventClassCommand, kEventCommandProcess};
    if (mUPP == nullptr)
        mUPP = NewEventHandlerUPP(HandleCommand);
    InstallEventHandler(GetWindowEventTarget(mWindow), mUPP, 1, &command, this, &mHandler);
    ShowControl(mParent);
    return noErr;
}

OSStatus TestPane::Close() {
    if (mHandler)
        RemoveEventHandler(mHandler);
    mHandler = nullptr;
    if (mParent && IsValidControlHandle(mParent))
        HideControl(mParent);
    return noErr;
}

OSStatus TestPane::HandleCommand(EventHandlerCallRef, EventRef event, void* data) {
    auto* pane = static_cast<TestPane*>(data);
    HICommand command;
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) != noErr)
        return eventNotHandledErr;
    switch (command.commandID) {
    case 'Note':
        pane->RunNoteDialog();
        return noErr;
    case 'Ftch': {
        if (pane->mFetch.joinable())
            return noErr;
        WindowRef window = pane->mWindow;
        // As the colour pane does: its window hears of the fetch when it starts.
        EventRef started = nullptr;
        if (CreateEvent(nullptr, 'QVFs', 1, 0, 0, &started) == noErr) {
            SendEventToEventTarget(started, GetWindowEventTarget(window));
            ReleaseEvent(started);
        }
        pane->mFetch = std::thread([window] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EventRef done = nullptr;
            CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &done);
            HICommand finished = {0, 'QVFe', {}};
            SetEventParameter(done, kEventParamDirectObject, typeHICommand, sizeof finished,
                              &finished);
            EventTargetRef target = GetWindowEventTarget(window);
            SetEventParameter(done, kEventParamPostTarget, typeEventTargetRef, sizeof target,
                              &target);
            PostEventToQueue(GetMainEventQueue(), done, kEventPriorityStandard);
            ReleaseEvent(done);
        });
        return noErr;
    }
    case 'QVFe':
        if (pane->mFetch.joinable())
            pane->mFetch.join();
        if (ControlRef status = pane->Control('stat', 1)) {
            CFStringRef fetched = CFSTR("Fetched");
            SetControlData(status, kControlEntireControl, kControlStaticTextCFStringTag,
                           sizeof fetched, &fetched);
        }
        return noErr;
    default:
        return eventNotHandledErr;
    }
}

void TestPane::RunNoteDialog() {
    WindowRef dialog = nullptr;
    if (CreateWindowFromNib(PDEGetPluginNIB(), CFSTR("Note"), &dialog) != noErr)
        return;
    struct Result {
        WindowRef dialog;
        bool ok = false;
    } result{dialog};
    const EventTypeSpec command = {kEventClassCommand, kEventCommandProcess};
    EventHandlerUPP upp = NewEventHandlerUPP([](EventHandlerCallRef, EventRef event, void* data) -> OSStatus {
        auto* r = static_cast<Result*>(data);
        HICommand c;
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof c, nullptr, &c);
        if (c.commandID != kHICommandOK && c.commandID != kHICommandCancel)
            return eventNotHandledErr;
        r->ok = c.commandID == kHICommandOK;
        QuitAppModalLoopForWindow(r->dialog);
        return noErr;
    });
    EventHandlerRef handler = nullptr;
    InstallEventHandler(GetWindowEventTarget(dialog), upp, 1, &command, &result, &handler);
    ShowWindow(dialog);
    RunAppModalLoopForWindow(dialog);
    if (result.ok) {
        ControlID id = {'ttxt', 1};
        ControlRef text = nullptr;
        CFStringRef value = nullptr;
        if (GetControlByID(dialog, &id, &text) == noErr &&
            GetControlData(text, kControlEntireControl, kControlEditTextCFStringTag,
                           sizeof value, &value, nullptr) == noErr && value) {
            mNote = PMCFStringCopyUTF8(value);
            CFRelease(value);
        }
    }
    RemoveEventHandler(handler);
    DisposeEventHandlerUPP(upp);
    DisposeWindow(dialog);
}
