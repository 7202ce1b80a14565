#include "ProgressHandler.h"
#include "RecordingProgressHandler.h"

#include <gtest/gtest.h>

#include <thread>

// The fetch reports from its worker while the user cancels from the main thread: the worker
// must see the cancel and stop with 1001, and the two threads must not race on the flag.
TEST(ProgressHandlerThreads, CancelFromTheMainThreadStopsTheWorker) {
    RecordingProgressHandler handler;
    ASSERT_EQ(handler.initProgress(), 0);
    int stopped = 0;
    std::thread worker([&] {
        int status;
        while ((status = handler.updateProgress(4, nullptr, 0)) == 0)
            std::this_thread::yield();
        stopped = status;
    });
    while (handler.hookCalls < 10)
        std::this_thread::yield();
    handler.user_cancel();
    worker.join();
    EXPECT_EQ(stopped, kProgressUserCancelled);
    EXPECT_TRUE(handler.isCancelled());
}
