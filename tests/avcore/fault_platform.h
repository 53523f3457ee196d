#pragma once
// A failing platform for the engine's seams: Source Readers that hang or answer
// with empty samples forever, and a sound output whose device calls take seconds.
#include <windows.h>

#include <atomic>
#include <memory>

#include "avcore/engine_seams.h"

namespace avtest {

// Released threads return from wherever a fault holds them; the gate opens once.
class Gate {
public:
    Gate() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Gate() { open(); CloseHandle(m_event); }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;
    void open() { SetEvent(m_event); }
    void wait() const { WaitForSingleObject(m_event, INFINITE); }

private:
    HANDLE m_event;
};

enum class ReaderFault {
    CreationHangs,   // the reader is never built: creation waits for the gate, then fails
    ReadHangs,       // reads after the first `goodReads` wait for the gate, then fail
    EmptyForever,    // reads after the first `goodReads` answer with no sample and no flag
};

// Wraps the real reader of the file. The gate must outlive every thread it holds.
avcore::ReaderFactory FaultyReader(ReaderFault fault, std::shared_ptr<Gate> gate, int goodReads = 0);

// A sound output that plays like the null one but spends `delayMs` in each device call.
avcore::AudioOutputFactory SlowAudioOutput(DWORD delayMs, std::shared_ptr<std::atomic<int>> callsUnderway);

} // namespace avtest
