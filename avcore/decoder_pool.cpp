#include "avcore/decoder_pool.h"

namespace avcore {

DecoderPool& DecoderPool::instance()
{
    static DecoderPool pool;
    return pool;
}

DecoderPool::DecoderPool() : m_job(CreateJobObjectW(nullptr, nullptr))
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (m_job) SetInformationJobObject(m_job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
}

DecoderPool::~DecoderPool()
{
    m_spawner.join();  // not under m_lock: the spawner takes it to leave its process
    m_warm.reset();
}

void DecoderPool::spawn()
{
    auto started = DecoderProcess::Start(m_job.get());
    std::lock_guard<std::mutex> lock(m_lock);
    m_warm = std::move(started);
}

void DecoderPool::prepare()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_warm && m_warm->alive()) return;
    // A spawner that already ended has left its process in m_warm (or failed): start again.
    if (!m_spawner.joinFor(0)) return;
    m_warm.reset();
    m_spawner.start([this] { spawn(); });
}

bool DecoderPool::settled()
{
    std::lock_guard<std::mutex> lock(m_lock);
    const bool spawning = m_spawner.handle() && WaitForSingleObject(m_spawner.handle(), 0) == WAIT_TIMEOUT;
    return !spawning && m_warm && m_warm->alive() && m_warm->readyNow();
}

std::unique_ptr<DecoderProcess> DecoderPool::take(DWORD timeoutMs, HANDLE cancel)
{
    std::unique_ptr<DecoderProcess> taken;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_warm) {
            // One is on its way: wait for it rather than start a second one.
            HANDLE spawner = nullptr;
            if (m_spawner.handle())
                DuplicateHandle(GetCurrentProcess(), m_spawner.handle(), GetCurrentProcess(), &spawner, SYNCHRONIZE,
                                FALSE, 0);
            const UniqueHandle spawning(spawner);
            if (spawning) {
                lock.unlock();
                HANDLE waits[] = {spawning.get(), cancel};
                WaitForMultipleObjects(cancel ? 2 : 1, waits, FALSE, timeoutMs);
                lock.lock();
            }
        }
        if (m_warm && m_warm->alive()) taken = std::move(m_warm);
        m_warm.reset();
    }
    if (!taken) taken = DecoderProcess::Start(m_job.get());
    return taken;
}

} // namespace avcore
