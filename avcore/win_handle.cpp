#include "avcore/win_handle.h"

#include <atomic>

#include <mfapi.h>

namespace avcore {

UniqueHandle MakeEvent(bool manualReset)
{
    return UniqueHandle(CreateEventW(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr));
}

MediaThreadScope::MediaThreadScope(bool mediaFoundation) : m_wantMf(mediaFoundation)
{
    m_comOk = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    // MFStartup counts its callers, so each worker may pair its own start and shutdown.
    if (mediaFoundation)
        m_mfOk = SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET));
}

MediaThreadScope::~MediaThreadScope()
{
    if (m_mfOk) MFShutdown();
    if (m_comOk) CoUninitialize();
}

namespace {
std::atomic<int> g_running{0};  // counted from creation, so a count never misses a thread yet to run
}

bool WorkerThread::start(std::function<void()> body)
{
    join();
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    ++g_running;
    m_handle.reset(CreateThread(nullptr, 0, &WorkerThread::Entry, owned.get(), 0, nullptr));
    if (!m_handle) {
        --g_running;
        return false;
    }
    owned.release();  // the thread deletes it
    return true;
}

DWORD WINAPI WorkerThread::Entry(void* param)
{
    {
        std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(param));
        (*body)();
    }
    --g_running;
    return 0;
}

int WorkerThread::running()
{
    return g_running.load();
}

void WorkerThread::join()
{
    if (!m_handle) return;
    WaitDispatchingSent(m_handle.get());
    m_handle.reset();
}

bool WorkerThread::joinFor(DWORD milliseconds)
{
    if (!m_handle) return true;
    if (!WaitDispatchingSent(m_handle.get(), milliseconds)) return false;
    m_handle.reset();
    return true;
}

void WorkerThread::detach()
{
    m_handle.reset();
}

namespace {

bool WaitDispatching(HANDLE h, DWORD timeoutMs, bool paint)
{
    const ULONGLONG start = GetTickCount64();
    const DWORD wake = QS_SENDMESSAGE | (paint ? QS_PAINT : 0);
    for (;;) {
        DWORD wait = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG spent = GetTickCount64() - start;
            if (spent >= timeoutMs) return WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
            wait = static_cast<DWORD>(timeoutMs - spent);
        }
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &h, wait, wake, 0);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
        // PM_QS_SENDMESSAGE with PM_NOREMOVE runs pending sent messages and leaves posted ones queued.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (paint && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT))
            DispatchMessageW(&msg);
    }
}

} // namespace

bool WaitDispatchingSent(HANDLE h, DWORD timeoutMs)
{
    return WaitDispatching(h, timeoutMs, false);
}

bool WaitKeepingWindowsPainted(HANDLE h, DWORD timeoutMs)
{
    return WaitDispatching(h, timeoutMs, true);
}

double NowSeconds()
{
    static const double period = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return 1.0 / static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * period;
}

} // namespace avcore
