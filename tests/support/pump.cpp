#include "support/pump.h"

#include <algorithm>

namespace testsupport {

namespace {

MessageFilter g_filter = nullptr;

bool Take(MSG& msg, bool timers)
{
    if (timers) return PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    // Two ranges around WM_TIMER: a due timer is only made into a message for a look
    // that includes it.
    return PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
           PeekMessageW(&msg, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE);
}

void DispatchQueued(bool timers = true)
{
    MSG msg;
    while (Take(msg, timers)) {
        if (msg.message == WM_QUIT) continue;  // a test's quit is its own business, not the pump's
        if (g_filter && g_filter(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void RunUntilIdle(bool timers)
{
    // Dispatching may post more (a repaint, a deferred notification): go round until
    // a pass finds the queue empty.
    const UINT pending = timers ? QS_ALLINPUT : (QS_ALLINPUT & ~QS_TIMER);
    for (int pass = 0; pass < 100; ++pass) {
        DispatchQueued(timers);
        if (!(HIWORD(GetQueueStatus(pending)) & pending)) return;
    }
}

} // namespace

void SetMessageFilter(MessageFilter filter)
{
    g_filter = filter;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD deadlineMs, DWORD pollMs)
{
    const ULONGLONG end = GetTickCount64() + deadlineMs;
    for (;;) {
        DispatchQueued();
        if (condition()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(pollMs, end - now)),
                                  QS_ALLINPUT);
    }
}

void PumpIdle()
{
    RunUntilIdle(true);
}

void PumpIdleHoldingTimers()
{
    RunUntilIdle(false);
}

} // namespace testsupport
