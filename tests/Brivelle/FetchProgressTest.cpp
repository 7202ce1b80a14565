// The background fetch's progress: a worker's reports posted to the pane's window, shown by the
// main loop as captions beside chasing arrows, then the features-done command. These also run
// under ThreadSanitizer.
#include "BidiBundle.h"
#include "CustomCarbonEvent.h"
#include "EventHack.h"
#include "PigmentorProgressHandler.h"
#include "QRVThread.h"
#include "UI_ChasingArrows.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>
#include <HIToolbox/HIToolbox.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

/// A window with the pane's {'arro', 0} place for the indicator, `height` pixels high.
struct PaneWindow {
    WindowRef window = nullptr;
    ControlRef place = nullptr;
    explicit PaneWindow(short height = 20, bool withPlace = true) {
        const Rect content{50, 50, 250, 575};
        CreateNewWindow(kDocumentWindowClass, 0, &content, &window);
        if (!withPlace)
            return;
        const Rect bounds{170, 300, static_cast<short>(170 + height), 500};
        CreateUserPaneControl(window, &bounds, kControlSupportsEmbedding, &place);
        const ControlID id{kChasingArrowsSignature, 0};
        SetControlID(place, &id);
    }
    ~PaneWindow() { DisposeWindow(window); }
};

/// A CFString released at the end of the scope.
struct Str {
    CFStringRef ref;
    explicit Str(const char* utf8) : ref(PMCFStringCreateWithUTF8(utf8)) {}
    ~Str() { CFRelease(ref); }
    operator CFStringRef() const { return ref; }
};

std::string Caption(const UI_ChasingArrows* arrows) {
    CFStringRef text = nullptr;
    GetControlData(arrows->getCaptionControl(), 0, kControlStaticTextCFStringTag, sizeof text,
                   &text, nullptr);
    std::string out = PMCFStringCopyUTF8(text);
    if (text)
        CFRelease(text);
    return out;
}

UInt16 SubControls(ControlRef control) {
    UInt16 count = 0;
    CountSubControls(control, &count);
    return count;
}

bool SameRect(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

/// Records, after the progress handler has shown each progress event, the message code, the
/// caption and whether the arrows show; and the features-done command, which ends the loop.
struct Observer {
    PigmentorProgressHandler* handler = nullptr;
    std::vector<std::string> log;
    bool finished = false;

    static OSStatus OnProgress(EventHandlerCallRef call, EventRef event, void* data) {
        auto* self = static_cast<Observer*>(data);
        OSStatus status = CallNextEventHandler(call, event);
        HICommand command{};
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                          sizeof command, nullptr, &command);
        const UI_ChasingArrows* arrows = self->handler->getChasingArrows();
        self->log.push_back(std::to_string(command.attributes) + " " + Caption(arrows) +
                            (IsControlVisible(arrows->getArrowsControl()) ? " shown" : " hidden"));
        return status;
    }
    static OSStatus OnCommand(EventHandlerCallRef, EventRef event, void* data) {
        auto* self = static_cast<Observer*>(data);
        HICommand command{};
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                          sizeof command, nullptr, &command);
        if (command.commandID != kFeaturesDoneCommand)
            return eventNotHandledErr;
        self->log.push_back("QVFe");
        self->finished = true;
        QuitApplicationEventLoop();
        return noErr;
    }
};

/// Reports what a server fetch reports, on its own worker, then says it is done, as the fetch
/// thread does; `initStatus` is what the first report answered.
class ReportingThread : public QRVThread {
public:
    explicit ReportingThread(PigmentorProgressHandler* handler)
        : QRVThread(handler, false), mHandler(handler) {}
    ~ReportingThread() override { cancel(); }

    void threadProc(void*) override {
        int answers = mHandler->initProgress();
        answers |= mHandler->startProgress(kProgressStateProcessingData, nullptr, 0);
        for (unsigned long state : {1ul, 2ul, 3ul, 5ul})
            answers |= mHandler->updateProgress(state, nullptr, 0);
        answers |= mHandler->endProgress(kProgressStateDone, nullptr, 0);
        answers |= mHandler->startProgress(9, nullptr, 0);
        answers |= mHandler->reportError(6, kProgressStateGettingFeatures, nullptr, 0);
        allAnsweredZero = answers == 0;
    }
    void threadDone(void*) override { mHandler->done(); }
    void cancelProc() override {}

    bool allAnsweredZero = false;

private:
    PigmentorProgressHandler* mHandler;
};

} // namespace

TEST(FetchProgress, AWorkersReportsBecomeCaptionsInOrderThenTheDoneCommand) {
    BidiBundle bundle; // a text for the connecting state only
    ASSERT_NE(bundle.Get(), nullptr);
    PaneWindow pane;
    PigmentorProgressHandler handler(pane.window, nullptr);
    ASSERT_NE(handler.getChasingArrows(), nullptr);
    EXPECT_FALSE(IsControlVisible(handler.getChasingArrows()->getArrowsControl()));

    Observer observer;
    observer.handler = &handler;
    const EventTypeSpec progress{kPigmentorProgressEventClass, kPigmentorProgressEventKind};
    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    EventHandlerRef onProgress = nullptr;
    // Installed after the handler's own, so it runs first and calls on to it.
    InstallWindowEventHandler(pane.window, Observer::OnProgress, 1, &progress, &observer,
                              &onProgress);
    InstallWindowEventHandler(pane.window, Observer::OnCommand, 1, &command, &observer, nullptr);

    auto* worker = new ReportingThread(&handler);
    ASSERT_TRUE(worker->isCreated());
    worker->run();
    for (int pass = 0; pass < 100 && !observer.finished; ++pass)
        RunCurrentEventLoop(0.5);
    delete worker; // joins
    EXPECT_TRUE(observer.finished);
    const std::vector<std::string> expected{
        "100 kProgressProcessingData shown",
        "102 Verbinde \xC3\xBC ... shown",
        "102 kProgressInitializing shown", // a key the table lacks shows as itself
        "102 kProgressGettingFeatures shown",
        "102 Getting features... shown", // the end state has no text of its own
        "101 Getting features... hidden",
        "100 Contacting server ... shown", // nor has an unknown state
        "103 Contacting server ... hidden",
        "QVFe",
    };
    EXPECT_EQ(observer.log, expected);
    EXPECT_EQ(handler.getError(), 6u);
    RemoveEventHandler(onProgress);

    // A command that is not a progress message passes the handler by.
    EventRef other = nullptr;
    CreateEvent(nullptr, kPigmentorProgressEventClass, kPigmentorProgressEventKind, 0, 0, &other);
    const HICommand notProgress{kProgressMessageStart, 'othr', {nullptr, 0}};
    SetEventParameter(other, kEventParamDirectObject, typeHICommand, 14, &notProgress);
    EXPECT_EQ(PigmentorProgressHandler::PigmentorProgressEventHandler(nullptr, other, &handler),
              eventNotHandledErr);
    ReleaseEvent(other);
    handler.StopProgress();
    EXPECT_FALSE(IsControlVisible(handler.getChasingArrows()->getArrowsControl()));
}

TEST(FetchProgress, AHandlerWithoutAWindowPostsNothingAndAnswersZero) {
    EventQueueRef queue = GetMainEventQueue();
    const ItemCount before = GetNumEventsInQueue(queue);
    PigmentorProgressHandler handler(nullptr, nullptr);
    EXPECT_FALSE(handler.InitializeChasingArrows());
    std::thread worker([&] {
        EXPECT_EQ(handler.initProgress(), 0);
        EXPECT_EQ(handler.startProgress(1, nullptr, 0), 0);
        EXPECT_EQ(handler.updateProgress(2, nullptr, 0), 0);
        EXPECT_EQ(handler.endProgress(5, nullptr, 0), 0);
        EXPECT_EQ(handler.reportError(4, 1, nullptr, 0), 0);
        handler.done();
    });
    worker.join();
    EXPECT_EQ(GetNumEventsInQueue(queue), before);
    EXPECT_EQ(handler.getError(), 0u); // nothing to show it in, so not recorded either

    CustomCarbonEvent event(HICommand{0, kFeaturesDoneCommand, {nullptr, 0}}, nullptr,
                            kEventClassCommand, kEventCommandProcess);
    EXPECT_FALSE(event.isValid());
    const UInt32 value = 1;
    EXPECT_EQ(event.addParameter('kcod', &value, sizeof value, typeUInt32), paramErr);
    EXPECT_EQ(event.send(nullptr, kEventPriorityHigh), paramErr);
    EXPECT_EQ(GetNumEventsInQueue(queue), before);
}

TEST(FetchProgress, ChasingArrowsFillTheTopStripAndNeedSixteenPixels) {
    PaneWindow pane(40);
    Str caption("Wait");
    {
        UI_ChasingArrows arrows(pane.window, Rect{170, 300, 210, 500}, false, pane.place, true,
                                caption);
        ASSERT_TRUE(arrows.isValid());
        Rect bounds{};
        EXPECT_TRUE(SameRect(*GetControlBounds(arrows.getArrowsControl(), &bounds),
                             Rect{170, 484, 186, 500}));
        EXPECT_TRUE(SameRect(*GetControlBounds(arrows.getCaptionControl(), &bounds),
                             Rect{170, 300, 186, 484}));
        ControlFontStyleRec style{};
        GetControlData(arrows.getCaptionControl(), 0, kControlFontStyleTag, sizeof style, &style,
                       nullptr);
        EXPECT_EQ(style.size, 10);
        EXPECT_EQ(SubControls(pane.place), 2);
        EXPECT_FALSE(IsControlVisible(arrows.getCaptionControl()));
        arrows.show();
        EXPECT_TRUE(IsControlVisible(arrows.getArrowsControl()));
        EXPECT_TRUE(IsControlVisible(arrows.getCaptionControl()));
        EXPECT_EQ(Caption(&arrows), "Wait");
        arrows.setCaption(nullptr, true);
        EXPECT_EQ(Caption(&arrows), "");
    }
    EXPECT_EQ(SubControls(pane.place), 0); // both went with the object
    {
        UI_ChasingArrows arrows(pane.window, Rect{170, 300, 186, 500}, true, nullptr, false,
                                nullptr);
        ASSERT_TRUE(arrows.isValid());
        EXPECT_EQ(arrows.getCaptionControl(), nullptr);
        Rect bounds{};
        EXPECT_TRUE(SameRect(*GetControlBounds(arrows.getArrowsControl(), &bounds),
                             Rect{170, 300, 186, 500}));
        EXPECT_TRUE(IsControlVisible(arrows.getArrowsControl()));
        arrows.setCaption(caption, true); // no caption: nothing happens
    }
    UI_ChasingArrows tooLow(pane.window, Rect{170, 300, 185, 500}, true, pane.place, true,
                            caption);
    EXPECT_FALSE(tooLow.isValid());
    EXPECT_EQ(SubControls(pane.place), 0);

    // A pane whose place is 15 pixels high gets no indicator, but the commands still flow.
    PaneWindow low(15);
    PigmentorProgressHandler handler(low.window, nullptr);
    EXPECT_EQ(handler.getChasingArrows(), nullptr);
    EXPECT_EQ(SubControls(low.place), 0);
    EXPECT_FALSE(handler.InitializeChasingArrows());
    PaneWindow none(20, false);
    PigmentorProgressHandler without(none.window, nullptr);
    EXPECT_TRUE(without.InitializeChasingArrows());
    EXPECT_EQ(without.getChasingArrows(), nullptr);

    Observer observer;
    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    InstallWindowEventHandler(low.window, Observer::OnCommand, 1, &command, &observer, nullptr);
    std::thread worker([&] {
        handler.startProgress(1, nullptr, 0); // shown by nobody: no arrows
        handler.done();
    });
    worker.join();
    RunCurrentEventLoop(kEventDurationNoWait);
    EXPECT_EQ(observer.log, std::vector<std::string>{"QVFe"});
}

TEST(FetchProgress, AWakeFromAWorkerEndsTheMainRunLoopsWait) {
    EventHack::instance().testHack(); // once per process: a later call only answers -1
    EXPECT_EQ(EventHack::instance().testHack(), -1);
    // Sources other tests left signalled are performed first.
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    std::thread worker([] { EventHack::instance().wakeHack(); });
    // Long enough never to end by itself in a passing run: the signalled source ends it.
    SInt32 result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 60, true);
    worker.join();
    EXPECT_EQ(result, kCFRunLoopRunHandledSource);
}
