#include "fault_platform.h"

namespace avtest {

namespace {

class GatedOutput final : public avcore::AudioOutput {
public:
    GatedOutput(std::unique_ptr<avcore::AudioOutput> inner, std::shared_ptr<DeviceGate> gate)
        : m_inner(std::move(inner)), m_gate(std::move(gate)) {}

    bool isDevice() const override { return false; }
    const avcore::AudioFormat& format() const override { return m_inner->format(); }
    size_t blockFrames() const override { return m_inner->blockFrames(); }
    bool canWrite() const override { return m_inner->canWrite(); }
    bool write(const int16_t* s, size_t n) override { slow(); return m_inner->write(s, n); }
    uint64_t writtenFrames() const override { return m_inner->writtenFrames(); }
    uint64_t playedFrames() override { slow(); return m_inner->playedFrames(); }
    void pause() override { slow(); m_inner->pause(); }
    void resume() override { slow(); m_inner->resume(); }
    void reset() override { slow(); m_inner->reset(); }
    HANDLE wakeEvent() const override { return m_inner->wakeEvent(); }

private:
    void slow() { m_gate->Pass(); }

    std::unique_ptr<avcore::AudioOutput> m_inner;
    std::shared_ptr<DeviceGate> m_gate;
};

} // namespace

DeviceGate::DeviceGate() : m_open(avcore::MakeEvent(true))
{
    Open();
}

void DeviceGate::Pass()
{
    ++m_held;
    WaitForSingleObject(m_open.get(), 60000);
    --m_held;
}

avcore::AudioOutputFactory GatedAudioOutput(std::shared_ptr<DeviceGate> gate)
{
    return [=](const avcore::AudioFormat& format) -> std::unique_ptr<avcore::AudioOutput> {
        auto inner = avcore::OpenNullOutput(format);
        if (!inner) return nullptr;
        return std::make_unique<GatedOutput>(std::move(inner), gate);
    };
}

} // namespace avtest
