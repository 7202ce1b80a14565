#include <CarbonCore/SysBeep.h>

#include <atomic>

namespace {
std::atomic<UInt32> gBeepCount{0};
std::atomic<SysBeepHandler> gBeepHandler{nullptr};
} // namespace

void SysBeep(short duration) {
    gBeepCount.fetch_add(1, std::memory_order_relaxed);
    if (SysBeepHandler handler = gBeepHandler.load(std::memory_order_acquire))
        handler(duration);
}

UInt32 GetSysBeepCount(void) { return gBeepCount.load(std::memory_order_relaxed); }

SysBeepHandler SetSysBeepHandler(SysBeepHandler handler) {
    return gBeepHandler.exchange(handler, std::memory_order_acq_rel);
}
