// The threads around the host: the pane's background fetch posting its end to the dialog while
// the host waits for it, the host's own time-out watchdog, and plug-in instances counted from
// several threads. Run under ThreadSanitizer too (scripts/tsan-tests).
#include "HostDialog.h"
#include "HostExtension.h"
#include "HostPrinter.h"

#include <CoreFoundation/CoreFoundation.h>
#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(HostThreadsTest, TheFetchEndsTheWaitAndTheWatchdogEndsAWaitForAStuckFetch) {
    HostPrinter printer;
    std::string error;
    ASSERT_TRUE(printer.OpenPPD(PIGMENTOR_SOURCE_DIR "/examples/Tarvo-C5000.ppd", "", error)) << error;
    HostExtension extension;
    ASSERT_TRUE(extension.Load(HOSTTEST_BUNDLE_DIR, error)) << error;
    ASSERT_TRUE(extension.Start(error)) << error;
    {
        HostDialog dialog(extension, printer.Session());
        ASSERT_TRUE(dialog.Build("Host"));
        ASSERT_EQ(extension.Initialize(dialog.Pane(), printer.Session()), noErr);
        std::vector<HostAction> actions(3);
        std::string why;
        ASSERT_TRUE(ParseHostAction("click ftch:1", actions[0], why));
        ASSERT_TRUE(ParseHostAction("wait-fetch", actions[1], why));
        ASSERT_TRUE(ParseHostAction("dump", actions[2], why));
        nlohmann::json log = nlohmann::json::array();
        std::vector<std::string> errors;
        EXPECT_TRUE(dialog.Run(actions, 30, log, errors));
        EXPECT_TRUE(errors.empty()) << errors.front();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].dump().find("\"text\":\"Fetched\""), std::string::npos);

        // Nothing fetches now: the wait ends at once, however long the time-out.
        actions.assign(1, actions[1]);
        log = nlohmann::json::array();
        EXPECT_TRUE(dialog.Run(actions, 3600, log, errors));
        EXPECT_TRUE(errors.empty()) << errors.front();

        // A fetch that started and never ends: the watchdog's post ends the wait.
        EventRef started = nullptr;
        ASSERT_EQ(CreateEvent(nullptr, 'QVFs', 1, 0, 0, &started), noErr);
        SendEventToEventTarget(started, GetWindowEventTarget(dialog.Window()));
        ReleaseEvent(started);
        EXPECT_FALSE(dialog.Run(actions, 0.2, log, errors));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0], "wait-fetch: no background fetch finished within 0 s");
        extension.Unload();
    }
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
}

TEST(HostThreadsTest, InstancesAreCountedFromAnyThread) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(HOSTTEST_BUNDLE_DIR),
        static_cast<CFIndex>(strlen(HOSTTEST_BUNDLE_DIR)), true);
    CFPlugInRef plugIn = CFPlugInCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(plugIn, nullptr);
    CFUUIDRef type = CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr);
    CFArrayRef factories = CFPlugInFindFactoriesForPlugInTypeInPlugIn(type, plugIn);
    ASSERT_EQ(CFArrayGetCount(factories), 1);
    auto factory = static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories, 0));
    auto** instance = static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(nullptr, factory, type));
    ASSERT_NE(instance, nullptr);
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([factory] {
            for (int i = 0; i < 500; ++i) {
                CFPlugInAddInstanceForFactory(factory);
                CFPlugInRemoveInstanceForFactory(factory);
            }
        });
    for (std::thread& w : workers)
        w.join();
    EXPECT_EQ(CFPlugInGetInstanceCountForFactory(factory), 1);
    (*instance)->Release(instance);
    EXPECT_EQ(CFPlugInGetInstanceCountForFactory(factory), 0);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
    EXPECT_FALSE(CFBundleIsExecutableLoaded(plugIn));
    CFRelease(factories);
    CFRelease(type);
    CFRelease(plugIn);
}

} // namespace
