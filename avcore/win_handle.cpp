#include "avcore/win_handle.h"

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

bool WorkerThread::start(std::function<void()> body)
{
    join();
    m_body = std::move(body);
    m_handle.reset(CreateThread(nullptr, 0, &WorkerThread::Entry, this, 0, nullptr));
    return m_handle != nullptr;
}

DWORD WINAPI WorkerThread::Entry(void* param)
{
    static_cast<WorkerThread*>(param)->m_body();
    return 0;
}

void WorkerThread::join()
{
    if (!m_handle) return;
    WaitDispatchingSent(m_handle.get());
    m_handle.reset();
    m_body = nullptr;
}

void WaitDispatchingSent(HANDLE h)
{
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &h, INFINITE, QS_SENDMESSAGE, 0);
        if (r != WAIT_OBJECT_0 + 1) return;
        // PM_QS_SENDMESSAGE with PM_NOREMOVE runs pending sent messages and leaves posted ones queued.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
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
