// The background rebuild of the expert list: nothing to read while it runs, one fetch at a
// time, deleting a running fetch joins it, errors and cancellation reach the features object.
// Also run under ThreadSanitizer.
#include "BrivelleTest.h"
#include "ColourTestSupport.h"

#include "ExpertColorFeatures.h"
#include "ExpertColorFeaturesThread.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorErrors.h"
#include "PigmentorProgressHandler.h"

#include <HIToolbox/HIToolbox.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace colourtest;

namespace {

/// A window-less handler (it posts nothing) that counts the fetch's starts and can cancel
/// the fetch when it reports `cancelAt`.
class CountingHandler : public PigmentorProgressHandler {
public:
    CountingHandler() : PigmentorProgressHandler(nullptr, nullptr) {}
    std::atomic<int> starts{0};
    std::atomic<int> updates{0};
    unsigned long cancelAt = 0;

protected:
    int startImp(unsigned long state, void* text, int length) override {
        ++starts;
        return PigmentorProgressHandler::startImp(state, text, length);
    }
    int updateImp(unsigned long state, void* text, int length) override {
        ++updates;
        if (cancelAt && state == cancelAt)
            user_cancel();
        return PigmentorProgressHandler::updateImp(state, text, length);
    }
};

/// Waits (at most ten seconds) for the fetch to end; whether it did.
bool WaitForFetch(const ExpertColorFeatures& features) {
    for (int i = 0; i < 1000 && features.isFetching(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return !features.isFetching();
}

/// Records the progress events and the features-done command the pane's window receives; on
/// 'QVFe' it does what the pane does: joins the fetch thread, then reads the expert list.
struct PaneObserver {
    ExpertColorFeatures* features = nullptr;
    std::vector<std::string> log;
    bool validAtDone = false;
    bool finished = false;

    static OSStatus OnProgress(EventHandlerCallRef, EventRef event, void* data) {
        auto* self = static_cast<PaneObserver*>(data);
        HICommand command{};
        UInt32 state = 0;
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command);
        GetEventParameter(event, kProgressParamState, typeUInt32, nullptr, sizeof state, nullptr,
                          &state);
        self->log.push_back(std::to_string(command.attributes) + " " + std::to_string(state));
        return noErr;
    }
    static OSStatus OnCommand(EventHandlerCallRef, EventRef event, void* data) {
        auto* self = static_cast<PaneObserver*>(data);
        HICommand command{};
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command);
        if (command.commandID != kFeaturesDoneCommand)
            return eventNotHandledErr;
        self->log.push_back("QVFe");
        self->features->cancelExpertColorFeaturesAsync();
        self->validAtDone = self->features->isValid();
        self->finished = true;
        QuitApplicationEventLoop();
        return noErr;
    }
};

} // namespace

class FetchThread : public ServerTest {
protected:
    void TearDown() override {
        mFeatures.reset();
        mModel.reset();
        ServerTest::TearDown();
    }
    void Build(CountingHandler* handler, bool twoWay = true) {
        mModel = std::make_unique<Model>(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
        mFeatures = std::make_unique<ExpertColorFeatures>(mModel->get(), twoWay, "127.0.0.1", true,
                                                          true, handler);
    }
    std::unique_ptr<Model> mModel;
    std::unique_ptr<ExpertColorFeatures> mFeatures;
};

TEST_F(FetchThread, ExpertListAppearsOnlyWhenTheFetchHasEnded) {
    StartServer({"--latency-ms", "20"});
    CountingHandler handler;
    Build(&handler);
    // The fetch needs many exchanges of 20 ms: it is surely still running.
    EXPECT_TRUE(mFeatures->isFetching());
    EXPECT_EQ(mFeatures->getExpertColorFeatures(), nullptr);
    EXPECT_FALSE(mFeatures->isValid());
    EXPECT_EQ(mFeatures->FirstExpertColorItem(), nullptr);
    EXPECT_EQ(mFeatures->getPostscriptFeatureData(nullptr, 0, false), 0);
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    ASSERT_TRUE(mFeatures->isValid());
    EXPECT_NE(dynamic_cast<PigmentorBIDIItemList*>(mFeatures->getExpertColorFeatures()), nullptr);
    EXPECT_EQ(mFeatures->getPigmentorErr(), 0u);
    EXPECT_EQ(handler.starts, 1);
    EXPECT_LT(mFeatures->getPostscriptFeatureData(nullptr, 0, false), 0);
    mFeatures->cancelExpertColorFeaturesAsync(); // the finished thread is joined and deleted
    EXPECT_TRUE(mFeatures->isValid());
}

TEST_F(FetchThread, ASecondRequestWhileRunningStartsNothing) {
    StartServer({"--latency-ms", "20"});
    CountingHandler handler;
    Build(&handler);
    ASSERT_TRUE(mFeatures->isFetching());
    mFeatures->getExpertColorFeaturesAsync(&handler);
    mFeatures->getExpertColorFeaturesAsync(nullptr);
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    EXPECT_EQ(handler.starts, 1);
    // Once idle, a request starts a new fetch, which reconciles the model's two-way popups.
    mFeatures->getExpertColorFeaturesAsync(nullptr);
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    EXPECT_EQ(handler.starts, 2);
    EXPECT_TRUE(mFeatures->isValid());
}

TEST_F(FetchThread, TheSameSettingsAskedAgainLeaveTheRunningFetchAlone) {
    StartServer({"--latency-ms", "20"});
    CountingHandler handler;
    Build(&handler);
    ASSERT_TRUE(mFeatures->isFetching());
    // Waiting for the fetch here would block the pane's main thread for the whole fetch.
    mFeatures->updatePigmentorSettings(nullptr, true, "127.0.0.1", true);
    EXPECT_TRUE(mFeatures->isFetching());
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    EXPECT_EQ(handler.starts, 1);
    EXPECT_TRUE(mFeatures->isValid());
    // A fetch that reports to no one is replaced once there is a handler to hear its end.
    mFeatures = std::make_unique<ExpertColorFeatures>(mModel->get(), true, "127.0.0.1", true,
                                                      true, nullptr);
    ASSERT_TRUE(mFeatures->isFetching());
    mFeatures->setProgressHandler(&handler);
    mFeatures->updatePigmentorSettings(nullptr, true, "127.0.0.1", true);
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    EXPECT_EQ(handler.starts, 2);
    // Other settings do replace the list: two-way off gives the PPD's own list at once.
    mFeatures->setAsyncMode(false);
    mFeatures->updatePigmentorSettings(nullptr, false, "127.0.0.1", true);
    ASSERT_TRUE(mFeatures->isValid());
    EXPECT_EQ(dynamic_cast<PigmentorBIDIItemList*>(mFeatures->getExpertColorFeatures()), nullptr);
}

TEST_F(FetchThread, DeletingARunningFetchWaitsForItsWorker) {
    StartServer({"--latency-ms", "30"});
    CountingHandler handler;
    Build(&handler);
    ASSERT_TRUE(mFeatures->isFetching());
    mFeatures.reset(); // joins the worker; TearDown checks that the SDK was left clean
    EXPECT_GT(handler.updates, 0);

    // The same for the thread object alone.
    Build(&handler, true);
    mFeatures->cancelExpertColorFeaturesAsync();
    EXPECT_FALSE(mFeatures->isFetching());
}

TEST_F(FetchThread, RefusalAndCancellationReachTheFeaturesObject) {
    TempFile refusing(kPigmentorOffServer);
    StartServer({}, refusing.Path());
    CountingHandler handler;
    Build(&handler);
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    EXPECT_FALSE(mFeatures->isValid());
    EXPECT_EQ(mFeatures->getPigmentorErr(), kPigmentorNotSupportedErr);
    EXPECT_EQ(handler.getError(), 0u); // a handler without a window records nothing

    mServer.reset();
    StartServer();
    handler.cancelAt = 2;
    mFeatures->getExpertColorFeaturesAsync(nullptr); // the handler is reset first
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    EXPECT_EQ(mFeatures->getPigmentorErr(), kPigmentorUserCancelErr);
    EXPECT_FALSE(mFeatures->isValid());
}

TEST_F(FetchThread, PPDOnlyRebuildRunsInTheBackgroundToo) {
    CountingHandler handler;
    Build(&handler, false);
    ASSERT_TRUE(WaitForFetch(*mFeatures));
    EXPECT_TRUE(mFeatures->isValid());
    EXPECT_EQ(mFeatures->getExpertColorFeatures()->count(), 18);
    EXPECT_EQ(handler.starts, 0); // no server, no progress
}

TEST_F(FetchThread, ProgressEventsReachThePanesWindowInOrderAndEndWithTheDoneCommand) {
    StartServer();
    const Rect content{50, 50, 250, 575};
    WindowRef window = nullptr;
    ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &content, &window), noErr);
    {
        PigmentorProgressHandler handler(window, nullptr);
        PaneObserver observer;
        const EventTypeSpec progress{kPigmentorProgressEventClass, kPigmentorProgressEventKind};
        const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
        // Installed after the handler's own, so it sees each event first.
        InstallWindowEventHandler(window, PaneObserver::OnProgress, 1, &progress, &observer,
                                  nullptr);
        InstallWindowEventHandler(window, PaneObserver::OnCommand, 1, &command, &observer, nullptr);
        mModel = std::make_unique<Model>(Model::FromFile{}, Example("Tarvo-C5000.ppd"));
        mFeatures = std::make_unique<ExpertColorFeatures>(mModel->get(), true, "127.0.0.1", false,
                                                          true, nullptr);
        observer.features = mFeatures.get();
        mFeatures->getExpertColorFeaturesAsync(&handler);
        for (int pass = 0; pass < 100 && !observer.finished; ++pass)
            RunCurrentEventLoop(0.5);
        EXPECT_TRUE(observer.finished);
        EXPECT_EQ(observer.log, (std::vector<std::string>{"100 4", "102 1", "102 2", "102 3",
                                                          "102 4", "102 4", "101 5", "QVFe"}));
        EXPECT_TRUE(observer.validAtDone);
        mFeatures.reset(); // the thread is gone before its handler
    }
    DisposeWindow(window);
}
