#pragma once
// A failing platform for the engine's seams: a sound output whose device calls are
// held for as long as the test wants. (Readers that hang, answer with nothing or crash are played by the decoder
// process itself: avcore::ReaderFaultSeam.)
#include <windows.h>

#include <atomic>
#include <memory>

#include "avcore/engine_seams.h"
#include "avcore/win_handle.h"

namespace avtest {

// Holds the sound device's calls while closed: a test opens and closes it, and sees
// how many calls it holds.
class DeviceGate {
public:
    DeviceGate();
    void Close() { ResetEvent(m_open.get()); }
    void Open() { SetEvent(m_open.get()); }
    int Held() const { return m_held.load(); }
    void Pass();  // a device call: waits while the gate is closed (a minute at most)

private:
    avcore::UniqueHandle m_open;
    std::atomic<int> m_held{0};
};

// A sound output that plays like the null one, each device call passing the gate.
avcore::AudioOutputFactory GatedAudioOutput(std::shared_ptr<DeviceGate> gate);

} // namespace avtest
