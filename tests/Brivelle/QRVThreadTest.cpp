// The worker thread class: its start gate, the order of its procedures, cancel and join. These
// also run under ThreadSanitizer, which sees a gate that fails to order the creator's writes
// before the worker's reads.
#include "QRVMutex.h"
#include "QRVThread.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

/// A worker that copies `input` (written by the creator after construction) and records its
/// procedures. `steps` is the worker's until joined; `cancels` is the creator's.
class RecordingThread : public QRVThread {
public:
    explicit RecordingThread(void* argument) : QRVThread(argument, false) {}
    ~RecordingThread() override { cancel(); }

    void threadProc(void* argument) override {
        seen = input;
        steps.push_back(argument == this->expected ? "proc" : "proc with a wrong argument");
    }
    void threadDone(void* argument) override {
        steps.push_back(argument == this->expected ? "done" : "done with a wrong argument");
    }
    void cancelProc() override { ++cancels; }

    void* expected = nullptr;
    int input = 0;
    int seen = 0;
    std::vector<std::string> steps;
    int cancels = 0;
};

} // namespace

TEST(QRVMutex, LockStateFollowsLockAndUnlockButNotTrylock) {
    QRVMutex mutex;
    ASSERT_TRUE(mutex.isInitialized());
    EXPECT_FALSE(mutex.islocked());
    EXPECT_EQ(mutex.trylock(), 0);
    EXPECT_FALSE(mutex.islocked());
    EXPECT_EQ(mutex.unlock(), 0);
    EXPECT_EQ(mutex.lock(), 0);
    EXPECT_TRUE(mutex.islocked());
    int other = -1;
    std::thread([&] { other = mutex.trylock(); }).join();
    EXPECT_EQ(other, EBUSY);
    EXPECT_EQ(mutex.unlock(), 0);
    EXPECT_FALSE(mutex.islocked());
}

TEST(QRVThread, TheWorkerWaitsAtTheGateUntilRunThenProcAndDoneInOrder) {
    int argument = 0;
    RecordingThread thread(&argument);
    thread.expected = &argument;
    ASSERT_TRUE(thread.isCreated());
    // Give a worker that ignored the gate every chance to read the value before it is set.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    thread.input = 42;
    thread.run();
    thread.run(); // a second release changes nothing
    thread.join(nullptr);
    EXPECT_FALSE(thread.isCreated());
    EXPECT_EQ(thread.seen, 42);
    EXPECT_EQ(thread.steps, (std::vector<std::string>{"proc", "done"}));
    // Joined: cancelling (as the destructor does) calls nothing more.
    thread.cancel();
    EXPECT_EQ(thread.cancels, 0);
}

TEST(QRVThread, CancelAsksTheWorkToStopThenWaitsForIt) {
    RecordingThread thread(nullptr);
    thread.run();
    thread.cancel();
    EXPECT_EQ(thread.cancels, 1);
    EXPECT_FALSE(thread.isCreated());
    EXPECT_EQ(thread.steps, (std::vector<std::string>{"proc", "done"}));
    // teardown without cancel on a joined thread: nothing at all.
    thread.teardown(false);
    EXPECT_EQ(thread.cancels, 1);
}

TEST(QRVThread, AThreadNeverReleasedEndsWithoutRunningItsWork) {
    auto* thread = new RecordingThread(nullptr);
    ASSERT_TRUE(thread->isCreated());
    thread->cancel();
    EXPECT_EQ(thread->cancels, 1);
    EXPECT_TRUE(thread->steps.empty());
    delete thread;
    // And the base alone lets a never-released worker go (here the subclass never tore down).
    struct Bare : QRVThread {
        Bare() : QRVThread(nullptr, false) {}
        void threadProc(void*) override { ADD_FAILURE() << "ran although never released"; }
        void threadDone(void*) override { ADD_FAILURE() << "ran although never released"; }
        void cancelProc() override {}
    };
    delete new Bare;
}
