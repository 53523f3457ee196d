#include "fault_platform.h"

namespace avtest {

namespace {

class SlowOutput final : public avcore::AudioOutput {
public:
    SlowOutput(std::unique_ptr<avcore::AudioOutput> inner, DWORD delayMs, std::shared_ptr<std::atomic<int>> underway)
        : m_inner(std::move(inner)), m_delayMs(delayMs), m_underway(std::move(underway)) {}

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
    void slow()
    {
        ++*m_underway;
        Sleep(m_delayMs);
        --*m_underway;
    }

    std::unique_ptr<avcore::AudioOutput> m_inner;
    DWORD m_delayMs;
    std::shared_ptr<std::atomic<int>> m_underway;
};

} // namespace

avcore::AudioOutputFactory SlowAudioOutput(DWORD delayMs, std::shared_ptr<std::atomic<int>> callsUnderway)
{
    return [=](const avcore::AudioFormat& format) -> std::unique_ptr<avcore::AudioOutput> {
        auto inner = avcore::OpenNullOutput(format);
        if (!inner) return nullptr;
        return std::make_unique<SlowOutput>(std::move(inner), delayMs, callsUnderway);
    };
}

} // namespace avtest
