#pragma once
// The tests' one message pump: wait for a condition with a deadline, or run what is
// queued until the thread is idle. Never a fixed time.
#include <windows.h>

#include <functional>

namespace testsupport {

// Sees each message before it is dispatched (the UI library's own loop does this);
// true means the filter handled it.
using MessageFilter = bool (*)(const MSG*);
void SetMessageFilter(MessageFilter filter);

// Dispatches until condition() holds, looking at it at least every pollMs; false when
// deadlineMs passed first. The deadline only bounds a failure: a passing wait ends as
// soon as the condition holds.
bool PumpUntil(const std::function<bool()>& condition, DWORD deadlineMs = 5000, DWORD pollMs = 10);
// Dispatches what is queued, sent and posted alike, until the queue stays empty: for a
// check that nothing happened, and for the messages a call has just posted.
void PumpIdle();
// PumpIdle, with due timers left waiting: a burst then keeps the test's pace, however
// slowly the machine runs it.
void PumpIdleHoldingTimers();

} // namespace testsupport
