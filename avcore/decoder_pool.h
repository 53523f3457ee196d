#pragma once
// Keeps one decoder process warm for the whole program, so an open never waits for a
// process to start: one is started when the first player is made, and another each
// time one is taken. Every decoder lives in one job that ends them all with the program.
#include <windows.h>

#include <memory>
#include <mutex>

#include "avcore/decoder_process.h"
#include "avcore/win_handle.h"

namespace avcore {

class DecoderPool {
public:
    static DecoderPool& instance();
    ~DecoderPool();

    void prepare();  // starts a warm decoder if there is none
    // The warm decoder (started now when there is none). The caller prepares the next
    // one once its file is open, so that the start does not slow the open down.
    // Null when no process could be started or `cancel` was set.
    std::unique_ptr<DecoderProcess> take(DWORD timeoutMs, HANDLE cancel);
    // A warm decoder has finished starting and waits, and none is being started: what
    // the pool holds between files once it has had the time.
    bool settled();

private:
    DecoderPool();
    void spawn();  // spawner thread body

    UniqueHandle m_job;
    std::mutex m_lock;
    std::unique_ptr<DecoderProcess> m_warm;  // guarded by m_lock
    WorkerThread m_spawner;                  // touched only with m_lock held
};

} // namespace avcore
