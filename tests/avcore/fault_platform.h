#pragma once
// A failing platform for the engine's seams: a sound output whose device calls are held
// for as long as the test wants. (Readers that hang, answer with nothing or crash are
// played by the decoder process itself: avcore::ReaderFaultSeam.)
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
    DeviceGate() { Open(); }
    void Close() { ResetEvent(m_open.get()); }
    void Open() { SetEvent(m_open.get()); }
    int Held() const { return m_held.load(); }
    // A device call: waits while the gate is closed (a minute at most).
    void Pass()
    {
        ++m_held;
        WaitForSingleObject(m_open.get(), 60000);
        --m_held;
    }

private:
    avcore::UniqueHandle m_open = avcore::MakeEvent(true);
    std::atomic<int> m_held{0};
};

// A sound output that plays like the null one, each device call passing the gate.
class GatedOutput final : public avcore::AudioOutput {
public:
    GatedOutput(std::unique_ptr<avcore::AudioOutput> inner, std::shared_ptr<DeviceGate> gate)
        : m_inner(std::move(inner)), m_gate(std::move(gate)) {}

    bool isDevice() const override { return false; }
    const avcore::AudioFormat& format() const override { return m_inner->format(); }
    size_t blockFrames() const override { return m_inner->blockFrames(); }
    bool canWrite() const override { return m_inner->canWrite(); }
    bool write(const int16_t* s, size_t n) override { m_gate->Pass(); return m_inner->write(s, n); }
    uint64_t writtenFrames() const override { return m_inner->writtenFrames(); }
    uint64_t playedFrames() override { m_gate->Pass(); return m_inner->playedFrames(); }
    void pause() override { m_gate->Pass(); m_inner->pause(); }
    void resume() override { m_gate->Pass(); m_inner->resume(); }
    void reset() override { m_gate->Pass(); m_inner->reset(); }
    HANDLE wakeEvent() const override { return m_inner->wakeEvent(); }

private:
    std::unique_ptr<avcore::AudioOutput> m_inner;
    std::shared_ptr<DeviceGate> m_gate;
};

inline avcore::AudioOutputFactory GatedAudioOutput(std::shared_ptr<DeviceGate> gate)
{
    return [=](const avcore::AudioFormat& format) -> std::unique_ptr<avcore::AudioOutput> {
        auto inner = avcore::OpenNullOutput(format);
        return inner ? std::make_unique<GatedOutput>(std::move(inner), gate) : nullptr;
    };
}

} // namespace avtest
