#include "avcore/decode_worker.h"

#include <algorithm>

#include "avcore/container_check.h"
#include "avcore/decoder_pool.h"
#include "avcore/video_planes.h"

namespace avcore {

namespace {

// SetCurrentPosition may land after the target (Wine's decoder does, by the stream's
// reorder delay) or on a keyframe before it. Landing after is undone by seeking
// further back, this much more each time.
constexpr double kSeekBackoff = 0.5;
constexpr int kSeekAttempts = 3;
// Wine's reader seeks exactly but hands out its first picture a few pictures past the
// asked time. Asking that much before the target lands just short of it, instead of past
// it and then paying for the decode from the keyframe a second time. The lead starts at
// this many pictures and grows to what the reader is seen to overshoot.
constexpr int kSeekLeadPictures = 4;
constexpr double kDefaultPicture = 1.0 / 30;
constexpr double kEpsilon = 0.001;
// Late pictures are skipped before conversion, but never so many in a row that the
// picture freezes while the decoder catches up.
constexpr int kMaxLateInARow = 3;

} // namespace

DecodeWorker::DecodeWorker(SessionState& state, OpenRequest request, std::weak_ptr<FramePool> pool,
                           ReaderFaultSeam fault)
    : m_s(state), m_request(std::move(request)), m_fault(fault), m_source(state.cancelled.get(), m_request.budgetMs),
      m_stage(std::move(pool), m_request.shape, m_request.effectCode, &state.stats.convert)
{
}

void DecodeWorker::run()
{
    bool ok = openFile() &&
              m_stage.start([this](FramePtr frame, uint64_t generation) { deliver(std::move(frame), generation); });
    if (ok) {
        const bool hasVideo = m_source.info().hasVideo;
        FramePtr first = hasVideo ? m_stage.convertNow(m_firstVideo, m_source.info().video, 0) : nullptr;
        m_s.stats.firstConvertedAt.store(NowSeconds());
        std::lock_guard<std::mutex> lock(m_s.lock);
        ok = (first != nullptr || !hasVideo) && !m_s.quit;  // given up on while opening: nothing more to hold
        if (ok) {
            if (first) m_s.frames.push_back(std::move(first));
            m_s.prerolled = true;
            m_s.showNow = hasVideo;
            m_s.videoEnded = !hasVideo;
            if (m_haveFirstAudio) {
                m_s.audioQueued += m_firstAudio.samples.size() / m_s.info.audio.channels;
                m_s.audio.push_back(std::move(m_firstAudio));
            } else if (m_s.info.hasAudio) {
                m_s.audioEnded = true;
            }
        }
    }
    m_firstVideo.hold.reset();
    if (!ok) {
        m_stage.stop();
        m_source.close();
    }
    m_s.openOk.store(ok);
    SetEvent(m_s.opened.get());
    DecoderPool::instance().prepare();  // for the next file
    if (!ok) return;

    std::unique_lock<std::mutex> lock(m_s.lock);
    for (;;) {
        const bool hasAudio = m_s.info.hasAudio;
        auto wantVideo = [&] { return !m_s.videoEnded && m_s.frames.size() < kMaxQueuedFrames; };
        auto wantAudio = [&] {
            return hasAudio && !m_s.audioEnded &&
                   m_s.audioQueued < static_cast<uint64_t>(kMaxQueuedAudio * m_s.info.audio.rate);
        };
        m_s.changed.wait(lock, [&] {
            return m_s.quit || m_s.seekPending || m_s.audioTrackWanted || wantVideo() || wantAudio();
        });
        if (m_s.quit) break;
        const uint64_t generation = m_s.generation;
        if (m_s.seekPending) {
            const double target = m_s.seekTarget;
            const int track = m_s.audioTrackWanted;
            m_s.seekPending = false;
            m_s.audioTrackWanted = 0;
            lock.unlock();
            if (track) switchAudioTrack(track, target);
            seekTo(target, generation);
            lock.lock();
            continue;
        }
        if (const int track = m_s.audioTrackWanted) {
            m_s.audioTrackWanted = 0;
            lock.unlock();
            const TrackSwitch how = switchAudioTrack(track, m_s.clock.now());
            if (how == TrackSwitch::Alongside) restartSound(generation);
            lock.lock();
            // Taken up by the one reader: the pictures start again from the playing position.
            if (how == TrackSwitch::InPlace && m_s.generation == generation && !m_s.seekPending)
                m_s.beginSeekLocked(m_s.clock.now());
            continue;
        }
        // Read the stream that lags behind, so neither queue runs dry while the other fills.
        const bool video = wantVideo() && (!wantAudio() || m_lastVideoPts <= m_lastAudioPts);
        lock.unlock();
        if (video) readVideo(generation);
        else readAudio(generation);
        lock.lock();
    }
    lock.unlock();
    m_stage.stop();
    m_source.close();
}

bool DecodeWorker::openFile()
{
    // Even a look at the file may take long (a network share that went away): never on the UI thread.
    if (!LooksLikeAFile(m_request.path) || !IsoIndexPresent(m_request.path)) return false;
    const bool opened = m_source.open(m_request.path, m_fault);
    m_s.stats.decoderProcessId.store(m_source.processId());
    if (!opened) return false;
    m_s.stats.readerReadyAt.store(NowSeconds());
    const bool hasVideo = m_source.info().hasVideo;
    if (hasVideo && timedReadVideo(m_firstVideo) != ReadStatus::Sample) return false;
    if (m_source.info().hasAudio)
        m_haveFirstAudio = m_source.readAudio(m_firstAudio) == ReadStatus::Sample;
    if (!hasVideo && !m_haveFirstAudio) return false;  // sound only, and no sound to be had
    m_s.stats.firstDecodedAt.store(NowSeconds());
    m_s.info = m_source.info();
    // Position 0 is the first picture, or the first sound of a file without pictures.
    m_s.origin = hasVideo ? m_firstVideo.pts : m_firstAudio.pts;
    m_s.startTime = m_haveFirstAudio ? std::min(m_s.origin, m_firstAudio.pts) : m_s.origin;
    m_lastVideoPts = m_s.origin;
    m_lastAudioPts = m_haveFirstAudio ? m_firstAudio.pts : m_s.origin;
    if (hasVideo) m_s.stats.decoded.fetch_add(1);
    return true;
}

void DecodeWorker::deliver(FramePtr frame, uint64_t generation)
{
    std::lock_guard<std::mutex> lock(m_s.lock);
    if (!frame || m_s.quit || m_s.generation != generation || m_s.seekPending) return;
    m_s.frames.push_back(std::move(frame));
    m_s.changed.notify_all();
}

ReadStatus DecodeWorker::timedReadVideo(VideoSample& sample)
{
    const double started = NowSeconds();
    const ReadStatus status = m_source.readVideo(sample);
    m_s.stats.videoRead.add(NowSeconds() - started);
    if (status == ReadStatus::Error) noteLost();
    return status;
}

void DecodeWorker::noteLost()
{
    if (m_source.lost()) m_s.decoderLost.store(true);
}

bool DecodeWorker::superseded(uint64_t generation)
{
    std::lock_guard<std::mutex> lock(m_s.lock);
    return m_s.quit || m_s.seekPending || m_s.generation != generation;
}

void DecodeWorker::readVideo(uint64_t generation)
{
    VideoSample sample;
    if (timedReadVideo(sample) != ReadStatus::Sample) {
        m_stage.flush();  // the last picture is queued before the end is
        std::lock_guard<std::mutex> lock(m_s.lock);
        if (m_s.generation == generation && !m_s.seekPending) {
            m_s.videoEnded = true;
            m_s.notifyAll();
        }
        return;
    }
    m_s.stats.decoded.fetch_add(1);
    m_lastVideoPts = sample.pts;
    const double end = sample.pts + std::max(sample.duration, kEpsilon);
    if (m_s.clock.running() && end < m_s.clock.now() && m_lateInARow < kMaxLateInARow) {
        ++m_lateInARow;
        m_s.stats.dropped.fetch_add(1);
        m_s.stats.droppedUnconverted.fetch_add(1);
        return;
    }
    m_lateInARow = 0;
    m_stage.submit(std::move(sample), m_source.info().video, generation);
}

void DecodeWorker::readAudio(uint64_t generation)
{
    AudioChunk chunk;
    const double started = NowSeconds();
    const ReadStatus status = m_source.readAudio(chunk);
    m_s.stats.audioRead.add(NowSeconds() - started);
    if (status == ReadStatus::Error) noteLost();
    std::lock_guard<std::mutex> lock(m_s.lock);
    if (m_s.quit || m_s.generation != generation || m_s.seekPending) return;
    if (status != ReadStatus::Sample) {
        m_s.audioEnded = true;
        m_s.notifyAll();
        return;
    }
    m_lastAudioPts = chunk.pts;
    chunk.generation = generation;
    m_s.audioQueued += chunk.samples.size() / m_s.info.audio.channels;
    m_s.audio.push_back(std::move(chunk));
    m_s.notifyAll();
}

bool DecodeWorker::publishFirst(const VideoSample& sample, uint64_t generation)
{
    FramePtr frame = m_stage.convertNow(sample, m_source.info().video, generation);
    std::lock_guard<std::mutex> lock(m_s.lock);
    if (m_s.generation != generation || m_s.seekPending || m_s.quit) return false;
    if (frame) {
        m_s.frames.push_back(std::move(frame));
        m_s.showNow = true;
    }
    m_s.prerolled = true;
    m_s.applyClockLocked();
    m_s.notifyAll();
    return true;
}

void DecodeWorker::endPicturesAfterSeek(uint64_t generation)
{
    std::lock_guard<std::mutex> lock(m_s.lock);
    if (m_s.generation != generation || m_s.seekPending) return;
    m_s.videoEnded = true;
    m_s.prerolled = true;
    m_s.applyClockLocked();
    m_s.notifyAll();
}

TrackSwitch DecodeWorker::switchAudioTrack(int number, double at)
{
    const TrackSwitch how = number == m_audioTrack ? TrackSwitch::Refused : m_source.selectAudioTrack(number - 1, at);
    if (how != TrackSwitch::Refused) m_audioTrack = number;
    std::lock_guard<std::mutex> lock(m_s.lock);
    // A track the decoder refused is not reported as playing.
    if (m_s.audioTrackWanted == 0) m_s.audioTrack = m_audioTrack;
    return how;
}

void DecodeWorker::restartSound(uint64_t generation)
{
    std::lock_guard<std::mutex> lock(m_s.lock);
    if (m_s.generation != generation || m_s.seekPending) return;
    // The track before played on while the new one was found; it stops now, at the
    // present, and the new one starts there.
    m_s.audio.clear();
    m_s.audioHeadUsed = 0;
    m_s.audioQueued = 0;
    m_s.audioEnded = m_s.audioDrained = false;
    m_s.trimBefore = m_s.clock.now();
    m_lastAudioPts = m_s.trimBefore;
    ++m_s.audioEpoch;
    m_s.notifyAll();
}

void DecodeWorker::seekTo(double target, uint64_t generation)
{
    m_lastVideoPts = m_lastAudioPts = target;
    m_lateInARow = 0;
    if (!m_source.info().hasVideo) {
        // Sound alone: the reader lands on or before the target and the audio thread trims to it.
        m_source.seek(target);
        endPicturesAfterSeek(generation);
        return;
    }
    const double picture =
        m_source.info().video.frameDuration > 0.0 ? m_source.info().video.frameDuration : kDefaultPicture;
    m_seekLead = std::min(std::max(m_seekLead, kSeekLeadPictures * picture), kSeekBackoff);
    double position = std::max(0.0, target - m_seekLead);
    int attempt = 0;
    bool first = true;
    VideoSample candidate;  // the last picture before the target, for a seek past the end
    m_source.seek(position);
    auto backOff = [&] {
        ++attempt;
        m_s.stats.seekRetries.fetch_add(1);
        position = std::max(0.0, target - kSeekBackoff * (1 << (attempt - 1)));
        m_source.seek(position);
        first = true;
        candidate.hold.reset();
    };
    for (;;) {
        if (superseded(generation)) return;
        VideoSample sample;
        if (timedReadVideo(sample) != ReadStatus::Sample) {
            if (!candidate.hold && attempt < kSeekAttempts && position > 0.0) {
                backOff();
                continue;
            }
            if (candidate.hold) publishFirst(candidate, generation);
            endPicturesAfterSeek(generation);
            return;
        }
        m_s.stats.decoded.fetch_add(1);
        if (first) m_seekLead = std::min(std::max(m_seekLead, sample.pts - position + picture), kSeekBackoff);
        if (first && sample.pts > target + kEpsilon && attempt < kSeekAttempts && position > 0.0) {
            backOff();
            continue;
        }
        first = false;
        if (sample.pts + std::max(sample.duration, kEpsilon) <= target + kEpsilon) {
            m_s.stats.seekSkipped.fetch_add(1);
            candidate = std::move(sample);
            continue;
        }
        m_lastVideoPts = sample.pts;
        publishFirst(sample, generation);
        return;
    }
}

} // namespace avcore
