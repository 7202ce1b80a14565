//===- Operations.cpp - Calls run now or on a thread of their own ---------===//
#include "Operations.h"

#include "Guard.h"
#include "WorkerPool.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <vector>

namespace tovrane::client {

namespace {

struct Operation final : PoolTask {
    bool Claim() override;
    void Run(t10_status refused) override;

    std::mutex mutex;
    std::condition_variable finished;
    float percent = 0.0f;
    bool done = false;
    bool cancelled = false;
    bool observed = false; ///< a check has reported it done
    bool claimed = false;  ///< a thread has taken it to run
    t10_status result = T10_OK;
    Work work;             ///< until claimed
    const tovrane_ticket* block = nullptr;
    std::shared_ptr<Connection> connection;
};

struct Registry {
    std::mutex mutex;
    std::map<uint64_t, std::shared_ptr<Operation>> operations;
    uint64_t nextId = 1;
};

// Never destroyed: an abandoned operation may still be finishing while the process exits.
Registry& Operations() {
    static Registry* registry = new Registry;
    return *registry;
}

std::atomic<size_t> gRunning{0};

/// The operation `ticket` names, or null.
std::shared_ptr<Operation> Find(const tovrane_ticket* ticket) {
    if (!ticket)
        return nullptr;
    Registry& registry = Operations();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.operations.find(ticket->opaque);
    if (it == registry.operations.end() || it->second->block != ticket)
        return nullptr;
    return it->second;
}

void MarkCancelled(const std::shared_ptr<Operation>& operation) {
    {
        std::lock_guard<std::mutex> lock(operation->mutex);
        operation->cancelled = true;
    }
    operation->finished.notify_all();
}

class TicketProgress : public Progress {
public:
    explicit TicketProgress(Operation& operation) : mOperation(operation) {}
    void Report(float percent) override {
        std::lock_guard<std::mutex> lock(mOperation.mutex);
        // 100 is reserved for "outputs written", which only the thread's end may claim.
        if (percent > 99.0f)
            percent = 99.0f;
        if (percent > mOperation.percent)
            mOperation.percent = percent;
    }

private:
    Operation& mOperation;
};

bool Operation::Claim() {
    std::lock_guard<std::mutex> lock(mutex);
    if (claimed)
        return false;
    claimed = true;
    return true;
}

void Operation::Run(t10_status refused) {
    Work taken;
    bool abandoned;
    {
        std::lock_guard<std::mutex> lock(mutex);
        taken = std::move(work);
        abandoned = cancelled;
    }
    TicketProgress progress(*this);
    // An operation abandoned before it started has nothing to do.
    t10_status status = abandoned           ? T10_ERR_CANCELLED
                        : refused != T10_OK ? refused
                                            : Guard([&] { return taken.run(progress); });
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!cancelled) {
            status = Guard([&] { return taken.publish(status); });
            result = status;
        }
        done = true;
        percent = 100.0f;
    }
    finished.notify_all();
    // Everything the work kept (replies, decoded lists) goes with it; only then does the
    // operation stop counting as running.
    taken = Work();
    gRunning.fetch_sub(1);
}

/// Runs the operation on this thread when no thread has taken it yet (a cancelled one only
/// ends), so that no pool thread is woken for it.
void RunHere(const std::shared_ptr<Operation>& operation) {
    if (!operation->Claim())
        return;
    WithdrawTask(*operation);
    operation->Run(T10_OK);
}

} // namespace

t10_status Perform(tovrane_ticket* ticket, std::shared_ptr<Connection> connection, Work work) {
    if (!ticket) {
        NoProgress progress;
        t10_status status = Guard([&] { return work.run(progress); });
        return Guard([&] { return work.publish(status); });
    }
    auto operation = std::make_shared<Operation>();
    operation->block = ticket;
    operation->connection = std::move(connection);
    operation->work = std::move(work);

    Registry& registry = Operations();
    std::shared_ptr<Operation> replaced;
    uint64_t id;
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        auto old = registry.operations.find(ticket->opaque);
        if (old != registry.operations.end() && old->second->block == ticket) {
            replaced = old->second;
            registry.operations.erase(old);
        }
        id = registry.nextId++;
        registry.operations.emplace(id, operation);
    }
    if (replaced) {
        MarkCancelled(replaced);
        RunHere(replaced);
    }
    ticket->opaque = id;

    gRunning.fetch_add(1);
    if (!SubmitTask(operation)) {
        gRunning.fetch_sub(1);
        std::lock_guard<std::mutex> lock(registry.mutex);
        registry.operations.erase(id);
        ticket->opaque = 0;
        return T10_ERR_NO_MEMORY;
    }
    return T10_OK;
}

t10_status CheckTicket(const tovrane_ticket* ticket, float* percent, int32_t* state,
                       t10_status* result) {
    std::shared_ptr<Operation> operation = Find(ticket);
    if (!operation)
        return T10_ERR_BAD_TICKET;
    std::lock_guard<std::mutex> lock(operation->mutex);
    if (percent)
        *percent = operation->percent;
    if (state)
        *state = operation->done ? T10_TICKET_DONE : T10_TICKET_PENDING;
    operation->observed = operation->done;
    if (result)
        *result = operation->done ? operation->result : T10_OK;
    return T10_OK;
}

t10_status BlockTicket(const tovrane_ticket* ticket) {
    std::shared_ptr<Operation> operation = Find(ticket);
    if (!operation)
        return T10_ERR_BAD_TICKET;
    // A caller that waits for an operation no thread has taken yet runs it itself: the
    // outcome is the same, without handing the work to another thread and back.
    RunHere(operation);
    // Every request of an operation is bounded by its connection's timeout, so is this wait.
    std::unique_lock<std::mutex> lock(operation->mutex);
    operation->finished.wait(lock, [&] { return operation->done || operation->cancelled; });
    return operation->cancelled ? T10_ERR_CANCELLED : T10_OK;
}

t10_status CancelTicket(tovrane_ticket* ticket) {
    std::shared_ptr<Operation> operation;
    {
        Registry& registry = Operations();
        std::lock_guard<std::mutex> lock(registry.mutex);
        auto it = registry.operations.find(ticket->opaque);
        if (it == registry.operations.end() || it->second->block != ticket)
            return T10_ERR_BAD_TICKET;
        operation = it->second;
        registry.operations.erase(it);
    }
    // Taking the operation's lock waits out a publish in progress: once this returns, the
    // caller's outputs are no longer written and may be released.
    MarkCancelled(operation);
    RunHere(operation); // a queued operation ends here, never started
    ticket->opaque = 0;
    return T10_OK;
}

void ReapOperations() {
    Registry& registry = Operations();
    // Reaped records are destroyed only after every lock is released: erasing the last
    // reference while holding the record's own mutex would unlock freed memory.
    std::vector<std::shared_ptr<Operation>> reaped;
    std::lock_guard<std::mutex> lock(registry.mutex);
    for (auto it = registry.operations.begin(); it != registry.operations.end();) {
        bool stale;
        {
            Operation& operation = *it->second;
            std::lock_guard<std::mutex> operationLock(operation.mutex);
            // A result nobody has seen yet is kept: its caller may be about to ask for it.
            stale = operation.done && operation.observed &&
                    (!operation.connection || operation.connection->retired.load());
        }
        if (stale) {
            reaped.push_back(std::move(it->second));
            it = registry.operations.erase(it);
        } else {
            ++it;
        }
    }
}

size_t RunningOperationCount() {
    return gRunning.load();
}

size_t TicketRecordCount() {
    Registry& registry = Operations();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.operations.size();
}

} // namespace tovrane::client
