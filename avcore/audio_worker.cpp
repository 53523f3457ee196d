#include "avcore/audio_worker.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "avcore/audio_gain.h"

namespace avcore {

namespace {

// Sound is written this far ahead of the clock: enough to ride over scheduling
// hiccups, and more than PlaybackClock::kAheadLimit, so a sink that swallows sound
// instantly shows up as running ahead instead of dragging the clock along.
constexpr double kLead = 0.15;
static_assert(kLead > PlaybackClock::kAheadLimit * 2, "the lead must exceed the clock's trust band");
constexpr double kGapFill = 0.02;  // holes in the sound longer than this are filled with silence
constexpr DWORD kPollMs = 10;      // the clock is steered at least this often

} // namespace

void AudioWorker::run()
{
    MediaThreadScope com(false);
    const AudioFormat format = m_s.info.audio;
    m_out = m_openOutput ? m_openOutput(format) : OpenWaveOut(format);
    if (!m_out) m_out = OpenNullOutput(format);
    if (!m_out) return;
    m_s.stats.audioDevice.store(m_out->isDevice());
    m_s.stats.audioRate.store(format.rate);
    m_s.stats.audioChannels.store(format.channels);
    m_block.resize(m_out->blockFrames() * format.channels);
    m_out->pause();
    bool playing = false;

    HANDLE waits[2] = {m_s.audioWake.get(), m_out->wakeEvent()};
    const DWORD waitCount = waits[1] ? 2 : 1;
    uint64_t generation = ~0ull;
    for (;;) {
        WaitForMultipleObjects(waitCount, waits, FALSE, kPollMs);
        uint64_t current = 0;
        bool want = false;
        {
            std::lock_guard<std::mutex> lock(m_s.lock);
            if (m_s.quit) break;
            current = m_s.generation;
            want = m_s.running && m_s.prerolled && !m_s.ended;
        }
        if (current != generation) {
            generation = current;
            m_started = false;
            m_out->reset();
        }
        if (!want) {
            if (playing) {
                m_out->pause();
                playing = false;
            }
            continue;
        }
        if (!playing) {
            m_out->resume();
            playing = true;
        }
        if (!feed(generation)) continue;
        const uint64_t played = m_started ? m_out->playedFrames() : 0;
        follow(played, NowSeconds(), generation);
    }
    m_out.reset();
}

bool AudioWorker::feed(uint64_t generation)
{
    const AudioFormat& format = m_s.info.audio;
    const double rate = format.rate;
    const double now = m_s.clock.now();
    while (m_out->canWrite()) {
        if (m_started && m_basePts + m_out->writtenFrames() / rate > now + kLead) break;
        {
            std::lock_guard<std::mutex> lock(m_s.lock);
            if (m_s.quit || m_s.generation != generation) return false;
            if (!takeBlockLocked(now)) break;
        }
        const bool muted = m_controls.muted.load();
        ApplyGain(m_block.data(), m_blockFrames, format.channels, muted ? 0.0f : m_controls.gainLeft.load(),
                  muted ? 0.0f : m_controls.gainRight.load());
        if (m_out->write(m_block.data(), m_blockFrames)) m_started = true;
    }
    return true;
}

void AudioWorker::follow(uint64_t played, double playedAt, uint64_t generation)
{
    const double rate = m_s.info.audio.rate;
    std::lock_guard<std::mutex> lock(m_s.lock);
    if (m_s.quit || m_s.generation != generation || m_s.audioDrained) return;
    const bool nothingLeft = m_s.audioEnded && m_s.audio.empty();
    if (m_started && played > 0) m_s.clock.offerAudio(m_basePts + played / rate, playedAt);
    if (nothingLeft && (!m_started || played >= m_out->writtenFrames())) {
        m_s.audioDrained = true;
        if (m_started) m_s.clock.releaseAudio();
        m_s.changed.notify_all();
    }
}

void AudioWorker::skipLocked(uint64_t frames)
{
    const size_t channels = static_cast<size_t>(m_s.info.audio.channels);
    while (frames > 0 && !m_s.audio.empty()) {
        const size_t total = m_s.audio.front().samples.size() / channels;
        const size_t step = static_cast<size_t>(std::min<uint64_t>(frames, total - m_s.audioHeadUsed));
        m_s.audioHeadUsed += step;
        m_s.audioQueued -= step;
        frames -= step;
        if (m_s.audioHeadUsed >= total) {
            m_s.audio.pop_front();
            m_s.audioHeadUsed = 0;
        }
    }
}

bool AudioWorker::takeBlockLocked(double now)
{
    const size_t channels = static_cast<size_t>(m_s.info.audio.channels);
    const double rate = m_s.info.audio.rate;
    const size_t capacity = m_out->blockFrames();

    // After a seek, what lies before the target is not heard.
    while (!m_s.audio.empty()) {
        const AudioChunk& c = m_s.audio.front();
        const size_t total = c.samples.size() / channels;
        const double start = c.pts + m_s.audioHeadUsed / rate;
        const size_t left = total - m_s.audioHeadUsed;
        if (start >= m_s.trimBefore) break;
        const auto cut = static_cast<uint64_t>(std::ceil((m_s.trimBefore - start) * rate - 0.5));
        if (cut == 0) break;
        skipLocked(std::min<uint64_t>(cut, left));
    }
    if (m_s.audio.empty()) return false;

    const double start = m_s.audio.front().pts + m_s.audioHeadUsed / rate;
    if (!m_started) m_basePts = std::min(now, start);
    const double expected = m_basePts + m_out->writtenFrames() / rate;
    const double gap = start - expected;
    if (gap > kGapFill) {
        // Keep the device's timeline true to the stream: silence until the sound begins.
        m_blockFrames = std::min(capacity, static_cast<size_t>(gap * rate));
        std::memset(m_block.data(), 0, m_blockFrames * channels * sizeof(int16_t));
        return m_blockFrames > 0;
    }
    m_blockFrames = 0;
    while (m_blockFrames < capacity && !m_s.audio.empty()) {
        const AudioChunk& c = m_s.audio.front();
        const size_t total = c.samples.size() / channels;
        const size_t n = std::min(capacity - m_blockFrames, total - m_s.audioHeadUsed);
        std::memcpy(m_block.data() + m_blockFrames * channels, c.samples.data() + m_s.audioHeadUsed * channels,
                    n * channels * sizeof(int16_t));
        m_blockFrames += n;
        skipLocked(n);
    }
    return m_blockFrames > 0;
}

} // namespace avcore
