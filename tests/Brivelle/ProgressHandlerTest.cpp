#include "BidiBundle.h"
#include "ProgressHandler.h"
#include "RecordingProgressHandler.h"

#include <CoreFoundation/CoreFoundation.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using Calls = std::vector<std::string>;

std::string Utf8(CFStringRef text) {
    if (!text)
        return "(null)";
    char buffer[256];
    return CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "?";
}

/// The text of `state`, released.
std::string ProgressText(unsigned long state) {
    CFStringRef text = ProgressHandler::getProgressString(state);
    std::string result = Utf8(text);
    if (text)
        CFRelease(text);
    return result;
}

} // namespace

TEST(ProgressHandler, CallsReachTheirHooksWithTheirArguments) {
    int data = 0;
    RecordingProgressHandler handler(nullptr, &data);

    char text[] = "abcdef";
    EXPECT_EQ(handler.initProgress(), 0);
    EXPECT_EQ(handler.startProgress(4, text, 3), 0);
    EXPECT_EQ(handler.updateProgress(1, nullptr, 0), 0);
    EXPECT_EQ(handler.endProgress(5, text, 6), 0);
    EXPECT_EQ(handler.reportError(7, 2, text, 1), 0);
    EXPECT_EQ(handler.calls, (Calls{"init", "start 4 len 3 abc", "update 1 len 0",
                                    "end 5 len 6 abcdef", "error 7 2 len 1 a"}));

    // A hook's refusal is the caller's answer: the fetch stops on it.
    handler.answer = -108;
    EXPECT_EQ(handler.updateProgress(3, nullptr, 0), -108);
    EXPECT_EQ(handler.initProgress(), -108);
}

TEST(ProgressHandler, CancelStopsEveryProgressCallButErrors) {
    RecordingProgressHandler handler;
    handler.user_cancel();
    EXPECT_TRUE(handler.isCancelled());
    EXPECT_EQ(handler.initProgress(), kProgressUserCancelled); // no reset behind the user's back
    EXPECT_EQ(handler.startProgress(1, nullptr, 0), 1001);
    EXPECT_EQ(handler.updateProgress(2, nullptr, 0), 1001);
    EXPECT_EQ(handler.endProgress(5, nullptr, 0), 1001);
    EXPECT_TRUE(handler.isCancelled());
    EXPECT_TRUE(handler.calls.empty());

    handler.answer = 6;
    EXPECT_EQ(handler.reportError(4, 1, nullptr, 0), 6);
    EXPECT_EQ(handler.calls, (Calls{"error 4 1 len 0"}));

    handler.reset();
    EXPECT_FALSE(handler.isCancelled());
    handler.answer = 0;
    EXPECT_EQ(handler.updateProgress(3, nullptr, 0), 0);
}

TEST(ProgressHandler, InitProgressStartsAFreshFetch) {
    RecordingProgressHandler handler;
    handler.abort();
    EXPECT_TRUE(handler.isAborted());
    EXPECT_FALSE(handler.isCancelled()); // an abort alone stops nothing
    EXPECT_EQ(handler.updateProgress(1, nullptr, 0), 0);
    EXPECT_EQ(handler.initProgress(), 0);
    EXPECT_FALSE(handler.isAborted());
    EXPECT_EQ(handler.calls.back(), "init");
}

TEST(ProgressHandler, StateTexts) {
    // No bundle: the keys themselves, so a caption never goes blank.
    EXPECT_EQ(ProgressText(1), "kProgressConnecting");
    EXPECT_EQ(ProgressText(8), "kProgressProcessingStatus");
    {
        BidiBundle bundle;
        ASSERT_NE(bundle.Get(), nullptr);
        EXPECT_EQ(ProgressText(1), "Verbinde \xC3\xBC ...");
        // Keys the table lacks show as themselves (the other states' keys: FetchProgressTest).
        EXPECT_EQ(ProgressText(6), "kProgressAborting");
        EXPECT_EQ(ProgressText(7), "kProgressCleanUp");
        // The end of the fetch and unknown states have no text at all.
        for (unsigned long state : {0ul, 5ul, 9ul, 1001ul})
            EXPECT_EQ(ProgressHandler::getProgressString(state), nullptr) << state;
    }
}
