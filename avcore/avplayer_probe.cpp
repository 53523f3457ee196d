#include "avcore/avplayer_probe.h"

#include <algorithm>

#include "avcore/decoder_pool.h"
#include "avcore/decoder_process.h"
#include "avcore/player_impl.h"

const avcore::SessionState* avplayer_probe::stateOf(const avplayer& p)
{
    return p.m_impl->session ? &p.m_impl->session->state() : nullptr;
}

avplayer_probe::Counters avplayer_probe::counters(const avplayer& p)
{
    Counters c;
    if (const auto* s = stateOf(p)) {
        c.decoded = s->stats.decoded.load();
        c.presented = s->stats.presented.load();
        c.dropped = s->stats.dropped.load();
        c.shownLate = s->stats.shownLate.load();
        c.seekSkipped = s->stats.seekSkipped.load();
        c.seekRetries = s->stats.seekRetries.load();
    }
    return c;
}

namespace {

avplayer_probe::Tally Read(const avcore::TimingStat& t)
{
    avplayer_probe::Tally out;
    out.count = t.count.load();
    out.totalSeconds = t.totalSeconds.load();
    out.worstSeconds = t.worstSeconds.load();
    return out;
}

} // namespace

avplayer_probe::Timings avplayer_probe::timings(const avplayer& p)
{
    Timings t;
    if (const auto* s = stateOf(p)) {
        t.videoRead = Read(s->stats.videoRead);
        t.audioRead = Read(s->stats.audioRead);
        t.convert = Read(s->stats.convert);
        t.present = Read(s->stats.present);
        t.lateness = Read(s->stats.lateness);
        t.droppedUnconverted = s->stats.droppedUnconverted.load();
        t.readerReadyAt = s->stats.readerReadyAt.load();
        t.firstDecodedAt = s->stats.firstDecodedAt.load();
        t.firstConvertedAt = s->stats.firstConvertedAt.load();
        if (s->stats.presented.load() > 0) {
            t.lastShownSeconds = s->stats.lastPts.load() - s->origin;
            t.lastShownAt = s->stats.lastShownAt.load();
        }
    }
    return t;
}

bool avplayer_probe::picture(const avplayer& p, std::vector<uint8_t>& bgra, int& width, int& height,
                             double& seconds)
{
    const avcore::FramePtr frame = p.m_impl->presenter->current();
    const auto* s = stateOf(p);
    if (!frame || !s) return false;
    width = frame->width;
    height = frame->height;
    avcore::CopyPicture(*frame, bgra);
    seconds = frame->pts - s->origin;
    return true;
}

double avplayer_probe::pictureSeconds(const avplayer& p)
{
    const avcore::FramePtr frame = p.m_impl->presenter->current();
    const auto* s = stateOf(p);
    return frame && s ? frame->pts - s->origin : -1.0;
}

bool avplayer_probe::hasAudioTrack(const avplayer& p)
{
    const auto* s = stateOf(p);
    return s && s->info.hasAudio;
}

bool avplayer_probe::audioDevice(const avplayer& p)
{
    const auto* s = stateOf(p);
    return s && s->stats.audioDevice.load();
}

int avplayer_probe::audioRate(const avplayer& p)
{
    const auto* s = stateOf(p);
    return s ? s->stats.audioRate.load() : 0;
}

int avplayer_probe::audioChannels(const avplayer& p)
{
    const auto* s = stateOf(p);
    return s ? s->stats.audioChannels.load() : 0;
}

bool avplayer_probe::clockFollowsAudio(const avplayer& p)
{
    const auto* s = stateOf(p);
    return s && s->clock.followsAudio();
}

double avplayer_probe::clockAt(const avplayer& p, double secondsFromNow)
{
    const auto* s = stateOf(p);
    // In the file's time, as curr_play_time reads it (the clock counts from the stream's origin).
    return s ? s->clock.nowAt(avcore::NowSeconds() + secondsFromNow) - s->origin : -1.0;
}

float avplayer_probe::gainLeft(const avplayer& p)
{
    return p.m_impl->controls->gainLeft.load();
}

HWND avplayer_probe::window(const avplayer& p)
{
    return p.m_impl->presenter->window();
}

DWORD avplayer_probe::decoderProcessId(const avplayer& p)
{
    const auto* s = stateOf(p);
    return s ? s->stats.decoderProcessId.load() : 0;
}

int avplayer_probe::decodersLost()
{
    return avcore::DecoderProcess::lostCount();
}

bool avplayer_probe::decoderPoolSettled()
{
    return avcore::DecoderPool::instance().settled();
}

int avplayer_probe::liveSessions()
{
    return avcore::LiveCount<avcore::SessionState>::alive();
}

int avplayer_probe::livePools()
{
    return avcore::LiveCount<avcore::FramePool>::alive();
}

int avplayer_probe::liveFrames()
{
    return avcore::LiveCount<avcore::VideoFrame>::alive();
}
