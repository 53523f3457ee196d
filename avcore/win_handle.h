#pragma once
// Small RAII owners for the Win32 and COM resources the engine's threads hold.
#include <windows.h>
#include <functional>
#include <memory>

namespace avcore {

struct HandleCloser {
    void operator()(HANDLE h) const { if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// An auto-reset or manual-reset event.
UniqueHandle MakeEvent(bool manualReset);

// COM (multithreaded apartment) and Media Foundation for the lifetime of a worker thread.
class MediaThreadScope {
public:
    explicit MediaThreadScope(bool mediaFoundation);
    ~MediaThreadScope();
    MediaThreadScope(const MediaThreadScope&) = delete;
    MediaThreadScope& operator=(const MediaThreadScope&) = delete;
    bool ok() const { return m_mfOk || !m_wantMf; }

private:
    bool m_comOk = false;
    bool m_wantMf = false;
    bool m_mfOk = false;
};

// A thread with a real Win32 handle, joined on destruction. Joining from the UI
// thread keeps dispatching messages sent to its windows, so a worker that touches
// a window of that thread (GetDC under some drivers sends) can never deadlock the join.
// The thread owns its body, so a thread stuck in a driver can be let go (detach).
class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool start(std::function<void()> body);  // false if the thread could not be created
    void join();
    bool joinFor(DWORD milliseconds);  // false when the thread still runs
    void detach();                     // forget the thread; it ends on its own
    HANDLE handle() const { return m_handle.get(); }  // null when no thread was started
    static int running();              // engine threads alive in this process, detached ones too

private:
    static DWORD WINAPI Entry(void* param);
    UniqueHandle m_handle;
};

// Waits for h while dispatching sent (not posted) messages of this thread; false on timeout.
bool WaitDispatchingSent(HANDLE h, DWORD timeoutMs = INFINITE);
// As WaitDispatchingSent, and this thread's windows are repainted meanwhile: a long
// wait never leaves them blank or "not responding". Input stays queued, so nothing
// the user does re-enters the caller.
bool WaitKeepingWindowsPainted(HANDLE h, DWORD timeoutMs);

// QueryPerformanceCounter in seconds.
double NowSeconds();

} // namespace avcore
