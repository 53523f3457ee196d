#include "support/pump.h"

#include <algorithm>

namespace testsupport {

namespace {

MessageFilter g_filter = nullptr;

void DispatchQueued()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // a test's quit is its own business, not the pump's
        if (g_filter && g_filter(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
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
    // Dispatching may post more (a repaint, a deferred notification): go round until
    // a pass finds the queue empty.
    for (int pass = 0; pass < 100; ++pass) {
        DispatchQueued();
        if (!HIWORD(GetQueueStatus(QS_ALLINPUT))) return;
    }
}

} // namespace testsupport
