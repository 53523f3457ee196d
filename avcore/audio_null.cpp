#include "avcore/audio_output.h"

#include <algorithm>

#include "avcore/win_handle.h"

namespace avcore {

namespace {

class NullOutput final : public AudioOutput {
public:
    explicit NullOutput(const AudioFormat& f) : m_format(f) {}

    bool isDevice() const override { return false; }
    const AudioFormat& format() const override { return m_format; }
    size_t blockFrames() const override { return static_cast<size_t>(m_format.rate) / 40; }
    bool canWrite() const override { return true; }
    bool write(const int16_t*, size_t frames) override
    {
        // Time starts when the first sound arrives, as a device starts on its first block.
        if (m_written == 0 && !m_paused) m_startedAt = NowSeconds();
        m_written += frames;
        return true;
    }
    uint64_t writtenFrames() const override { return m_written; }
    uint64_t playedFrames() override
    {
        const double elapsed = m_heldFor + (m_paused || m_written == 0 ? 0.0 : NowSeconds() - m_startedAt);
        const auto played = static_cast<uint64_t>(std::max(0.0, elapsed) * m_format.rate);
        return std::min(played, m_written);
    }
    void pause() override
    {
        if (m_paused) return;
        if (m_written) m_heldFor += NowSeconds() - m_startedAt;
        m_paused = true;
    }
    void resume() override
    {
        if (!m_paused) return;
        m_paused = false;
        m_startedAt = NowSeconds();
    }
    void reset() override
    {
        m_written = 0;
        m_heldFor = 0.0;
        m_startedAt = NowSeconds();
    }
    HANDLE wakeEvent() const override { return nullptr; }

private:
    AudioFormat m_format;
    uint64_t m_written = 0;
    double m_startedAt = 0.0;
    double m_heldFor = 0.0;  // played seconds before the last pause
    bool m_paused = false;
};

} // namespace

std::unique_ptr<AudioOutput> OpenNullOutput(const AudioFormat& format)
{
    if (format.rate <= 0 || format.channels <= 0) return nullptr;
    return std::make_unique<NullOutput>(format);
}

} // namespace avcore
