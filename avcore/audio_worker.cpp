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
    m_stretch = std::make_unique<TimeStretch>(format.rate, format.channels);
    m_out->pause();
    bool playing = false;

    HANDLE waits[2] = {m_s.audioWake.get(), m_out->wakeEvent()};
    const DWORD waitCount = waits[1] ? 2 : 1;
    uint64_t generation = ~0ull;
    for (;;) {
        WaitForMultipleObjects(waitCount, waits, FALSE, kPollMs);
        uint64_t current = 0, epoch = 0;
        bool want = false;
        {
            std::lock_guard<std::mutex> lock(m_s.lock);
            if (m_s.quit) break;
            current = m_s.generation;
            epoch = m_s.audioEpoch;
            want = m_s.running && m_s.prerolled && !m_s.ended;
        }
        if (current != generation || epoch != m_epoch) {
            generation = current;
            m_epoch = epoch;
            restart();
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

void AudioWorker::restart()
{
    m_started = m_haveBase = m_flushed = m_stretchEmpty = false;
    m_inFrames = 0;
    m_written.clear();
    m_stretch->reset();
}

double AudioWorker::mediaOfOutput() const
{
    return m_basePts + m_stretch->nextOutputSource() / m_s.info.audio.rate;
}

double AudioWorker::mediaPlayedAt(uint64_t played)
{
    while (m_written.size() > 1 && m_written[1].outStart <= played) m_written.pop_front();
    if (m_written.empty()) return m_basePts;
    const Stretch& s = m_written.front();
    return s.media + static_cast<double>(played - s.outStart) * s.speed / m_s.info.audio.rate;
}

bool AudioWorker::feed(uint64_t generation)
{
    const AudioFormat& format = m_s.info.audio;
    const double now = m_s.clock.now();
    const double speed = m_s.clock.rate();
    m_stretch->setSpeed(speed);
    while (m_out->canWrite()) {
        // The lead is real time: at a higher speed it holds more media time.
        if (m_started && mediaOfOutput() > now + kLead * speed) break;
        const bool known = m_haveBase;  // else the block starts the stretch at m_basePts
        const double media = known ? mediaOfOutput() : 0.0;
        const Take take = takeBlock(generation, now);
        if (take == Take::Superseded) return false;
        if (take == Take::Nothing) break;
        const bool muted = m_controls.muted.load();
        ApplyGain(m_block.data(), m_blockFrames, format.channels, muted ? 0.0f : m_controls.gainLeft.load(),
                  muted ? 0.0f : m_controls.gainRight.load());
        const uint64_t outStart = m_out->writtenFrames();
        if (!m_out->write(m_block.data(), m_blockFrames)) continue;
        m_written.push_back(Stretch{outStart, known ? media : m_basePts, m_stretch->speed()});
        m_started = true;
    }
    return true;
}

void AudioWorker::follow(uint64_t played, double playedAt, uint64_t generation)
{
    std::lock_guard<std::mutex> lock(m_s.lock);
    if (m_s.quit || staleLocked(generation) || m_s.audioDrained) return;
    const bool nothingLeft = m_s.audioEnded && m_s.audio.empty() && m_stretchEmpty;
    if (m_started && played > 0) m_s.clock.offerAudio(mediaPlayedAt(played), playedAt);
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

AudioWorker::Take AudioWorker::takeBlock(uint64_t generation, double now)
{
    const size_t channels = static_cast<size_t>(m_s.info.audio.channels);
    const size_t capacity = m_out->blockFrames();
    m_blockFrames = 0;
    while (m_blockFrames < capacity) {
        m_blockFrames += m_stretch->pull(m_block.data() + m_blockFrames * channels, capacity - m_blockFrames);
        if (m_blockFrames == capacity) break;
        std::lock_guard<std::mutex> lock(m_s.lock);
        if (m_s.quit || staleLocked(generation)) return Take::Superseded;
        if (takeInputLocked(now)) continue;
        if (m_s.audioEnded && m_s.audio.empty()) {
            if (m_flushed) {
                m_stretchEmpty = true;
                break;
            }
            // The stretch holds the last moments back until more follows: nothing will.
            m_stretch->pushSilence(m_stretch->latencyFrames() + capacity);
            m_flushed = true;
            continue;
        }
        break;
    }
    return m_blockFrames > 0 ? Take::Block : Take::Nothing;
}

bool AudioWorker::takeInputLocked(double now)
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

    const AudioChunk& c = m_s.audio.front();
    const double start = c.pts + m_s.audioHeadUsed / rate;
    if (!m_haveBase) {
        m_basePts = std::min(now, start);
        m_haveBase = true;
    }
    const double gap = start - (m_basePts + m_inFrames / rate);
    if (gap > kGapFill) {
        // Keep the device's timeline true to the stream: silence until the sound begins.
        const size_t n = std::min(capacity, static_cast<size_t>(gap * rate));
        m_stretch->pushSilence(n);
        m_inFrames += n;
        return n > 0;
    }
    const size_t n = std::min(capacity, c.samples.size() / channels - m_s.audioHeadUsed);
    m_stretch->push(c.samples.data() + m_s.audioHeadUsed * channels, n);
    m_inFrames += n;
    skipLocked(n);
    // The decoder waits for room in the queue; without pictures nothing else would wake it.
    m_s.changed.notify_all();
    return true;
}

} // namespace avcore
