// Where ticketed work runs: on the caller's thread when it blocks at once, on a pool thread
// when nobody does, not at all when it is cancelled before either.
#include "SdkTest.h"

#include <WorkerPool.h>

#include <condition_variable>
#include <mutex>

using namespace tovrane::client;

namespace {

/// What one piece of work saw; while `holdAtHalf` is set the work waits at 50 percent.
struct Probe {
    std::mutex mutex;
    std::condition_variable changed;
    bool ran = false;
    bool holdAtHalf = false;
    std::thread::id thread;
};

Work ProbeWork(const std::shared_ptr<Probe>& probe) {
    return Work{[probe](Progress& progress) {
                    std::unique_lock<std::mutex> lock(probe->mutex);
                    probe->ran = true;
                    probe->thread = std::this_thread::get_id();
                    progress.Report(50.0f);
                    probe->changed.wait(lock, [&] { return !probe->holdAtHalf; });
                    return static_cast<t10_status>(T10_OK);
                },
                [](t10_status status) { return status; }};
}

bool RanOnThisThread(Probe& probe) {
    std::lock_guard<std::mutex> lock(probe.mutex);
    return probe.ran && probe.thread == std::this_thread::get_id();
}

/// Polls the ticket (up to five seconds) until its percent reaches `percent`.
bool ReachesPercent(tovrane_ticket& ticket, float percent) {
    for (int i = 0; i < 5000; ++i) {
        float now = 0.0f;
        if (NB_checkTicket(&ticket, &now, nullptr, nullptr) == T10_OK && now >= percent)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// A caller descheduled for longer than the pool's grace period between the call and its
// block legitimately loses the work to a pool thread: the timing cases get a few attempts,
// while a fault fails every one.
constexpr int kAttempts = 5;

} // namespace

TEST(TicketPool, WorkBlockedOnAtOnceRunsOnTheCallersThreadAndWakesNoOther) {
    bool ranInline = false;
    for (int attempt = 0; attempt < kAttempts && !ranInline; ++attempt) {
        auto probe = std::make_shared<Probe>();
        size_t handOvers = HandOverCount();
        tovrane_ticket ticket{};
        ASSERT_EQ(Perform(&ticket, nullptr, ProbeWork(probe)), T10_OK);
        ASSERT_EQ(NB_block(&ticket), T10_OK);
        ranInline = RanOnThisThread(*probe) && HandOverCount() == handOvers;
        float percent = 0.0f;
        int32_t state = T10_TICKET_PENDING;
        EXPECT_EQ(NB_checkTicket(&ticket, &percent, &state, nullptr), T10_OK);
        EXPECT_EQ(state, T10_TICKET_DONE);
        EXPECT_EQ(percent, 100.0f);
        EXPECT_EQ(NB_cancel(&ticket), T10_OK);
    }
    EXPECT_TRUE(ranInline);
    ExpectAllReleased();
}

TEST(TicketPool, WorkNobodyBlocksOnStartsByItselfAndReportsProgress) {
    auto probe = std::make_shared<Probe>();
    probe->holdAtHalf = true;
    size_t handOvers = HandOverCount();
    auto* ticket = static_cast<tovrane_ticket*>(tovrane_malloc(8));
    ASSERT_NE(ticket, nullptr);
    ASSERT_EQ(Perform(ticket, nullptr, ProbeWork(probe)), T10_OK);
    ASSERT_TRUE(ReachesPercent(*ticket, 50.0f));
    int32_t state = T10_TICKET_DONE;
    EXPECT_EQ(NB_checkTicket(ticket, nullptr, &state, nullptr), T10_OK);
    EXPECT_EQ(state, T10_TICKET_PENDING);
    EXPECT_EQ(HandOverCount(), handOvers + 1);
    {
        std::lock_guard<std::mutex> lock(probe->mutex);
        probe->holdAtHalf = false;
    }
    probe->changed.notify_all();
    ASSERT_TRUE(ReachesPercent(*ticket, 100.0f));
    t10_status result = -1;
    EXPECT_EQ(NB_checkTicket(ticket, nullptr, &state, &result), T10_OK);
    EXPECT_EQ(state, T10_TICKET_DONE);
    EXPECT_EQ(result, T10_OK);
    {
        std::lock_guard<std::mutex> lock(probe->mutex);
        EXPECT_NE(probe->thread, std::this_thread::get_id());
    }
    EXPECT_EQ(NB_destroy(ticket), T10_OK);
    ExpectAllReleased();
}

TEST(TicketPool, CancelledQueuedWorkNeverRunsNorWakesAThread) {
    bool quiet = false;
    for (int attempt = 0; attempt < kAttempts && !quiet; ++attempt) {
        auto probe = std::make_shared<Probe>();
        size_t handOvers = HandOverCount();
        // Cancel, and the destroy that abandons a ticket, both end queued work.
        auto* ticket = static_cast<tovrane_ticket*>(tovrane_malloc(8));
        ASSERT_NE(ticket, nullptr);
        ASSERT_EQ(Perform(ticket, nullptr, ProbeWork(probe)), T10_OK);
        tovrane_ticket other{};
        ASSERT_EQ(Perform(&other, nullptr, ProbeWork(probe)), T10_OK);
        EXPECT_EQ(NB_cancel(&other), T10_OK);
        EXPECT_EQ(NB_destroy(ticket), T10_OK);
        // Ended on this thread: nothing is left running for a pool thread to finish.
        quiet = RunningOperationCount() == 0 && HandOverCount() == handOvers;
        ExpectAllReleased();
        std::lock_guard<std::mutex> lock(probe->mutex);
        quiet = quiet && !probe->ran;
    }
    EXPECT_TRUE(quiet);
}
