#include "avcore/remote_source.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <cwctype>
#include <mutex>

#include "avcore/call_budget.h"
#include "avcore/decoder_pool.h"

namespace avcore {

namespace {

constexpr size_t kSlotAlign = 64 * 1024;  // the allocation granularity: slots start on their own pages
constexpr DWORD kSlotPollMs = 20;

double Finite(double v, double fallback = 0.0)
{
    return std::isfinite(v) ? v : fallback;
}

// What the decoder reported about the file, made safe to use: it read a hostile file.
bool Sanitize(MediaInfo& info)
{
    // A file of sound alone has no picture format to check, and gets no slots.
    if (!info.hasVideo) info.video = VideoFormat{};
    else if (!decoder::SlotFormatFits(info.video, SIZE_MAX)) return false;
    VideoFormat& v = info.video;
    if (v.parNum <= 0 || v.parDen <= 0) v.parNum = v.parDen = 1;
    v.frameDuration = std::max(0.0, Finite(v.frameDuration));
    info.duration = std::max(0.0, Finite(info.duration));
    info.hasAudio = info.hasAudio && info.audio.rate >= 1000 && info.audio.rate <= 384000 &&
                    info.audio.channels >= 1 && info.audio.channels <= 8;
    if (!info.hasAudio) info.audio = AudioFormat{};
    info.audioTrackCount = info.hasAudio ? std::clamp(info.audioTrackCount, 1, kMaxAudioTracks) : 0;
    for (AudioTrackInfo& track : info.audioTracks) {
        if (track.channels < 0 || track.channels > 64) track.channels = 0;
        // A tag is letters, digits and dashes; anything else is not shown.
        track.language[kLanguageChars - 1] = L'\0';
        for (const wchar_t* c = track.language; *c; ++c) {
            if (*c < 0x80 && (std::iswalnum(*c) || *c == L'-')) continue;
            track.language[0] = L'\0';
            break;
        }
    }
    return info.hasVideo || info.hasAudio;
}

} // namespace

// The slots the decoder fills and the converter reads, mapped read-only in the player.
class PictureRing : public std::enable_shared_from_this<PictureRing> {
public:
    PictureRing(UniqueHandle section, const uint8_t* view, size_t slotBytes)
        : m_section(std::move(section)), m_view(view), m_slotBytes(slotBytes) {}
    ~PictureRing() { UnmapViewOfFile(m_view); }

    HANDLE section() const { return m_section.get(); }
    size_t slotBytes() const { return m_slotBytes; }
    const uint8_t* slot(uint32_t i) const { return m_view + static_cast<size_t>(i) * m_slotBytes; }

    // A free slot; waits while all are held, until `cancel` is set (then kPictureSlots).
    uint32_t acquire(HANDLE cancel)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        for (;;) {
            for (uint32_t i = 0; i < decoder::kPictureSlots; ++i)
                if (!m_held[i]) return i;
            if (WaitForSingleObject(cancel, 0) == WAIT_OBJECT_0) return decoder::kPictureSlots;
            m_released.wait_for(lock, std::chrono::milliseconds(kSlotPollMs));
        }
    }

    // Keeps slot i from the decoder until the last holder lets go.
    std::shared_ptr<const void> lease(uint32_t i)
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_held[i] = true;
        }
        auto self = shared_from_this();
        return std::shared_ptr<const void>(slot(i), [self, i](const void*) { self->release(i); });
    }

private:
    void release(uint32_t i)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_held[i] = false;
        m_released.notify_all();
    }

    UniqueHandle m_section;
    const uint8_t* m_view;
    size_t m_slotBytes;
    std::mutex m_lock;
    std::condition_variable m_released;
    bool m_held[decoder::kPictureSlots] = {};  // guarded by m_lock
};

RemoteSource::~RemoteSource()
{
    close();
}

void RemoteSource::close()
{
    m_decoder.reset();
    m_ring.reset();  // the mapping stays while a picture in flight holds a slot
}

DWORD RemoteSource::processId() const
{
    return m_decoder ? GetProcessId(m_decoder->process()) : 0;
}

decoder::Result RemoteSource::call(decoder::Command command, DWORD budgetMs)
{
    if (!m_decoder) return decoder::Result::Failed;
    m_decoder->control().request.command = command;
    const DecoderProcess::Outcome outcome = m_decoder->call(budgetMs, m_cancel);
    if (outcome != DecoderProcess::Outcome::Replied) {
        m_lost = outcome != DecoderProcess::Outcome::Cancelled;
        m_decoder.reset();
        return decoder::Result::Failed;
    }
    const decoder::Result result = m_decoder->control().response.result;
    switch (result) {
    case decoder::Result::Ok:
    case decoder::Result::EndOfStream:
    case decoder::Result::Denied: return result;
    default: return decoder::Result::Failed;
    }
}

bool RemoteSource::open(const std::wstring& path, const ReaderFaultSeam& fault)
{
    const Deadline deadline(m_budgetMs);
    close();
    m_info = MediaInfo{};
    if (path.empty() || path.size() >= decoder::kMaxPathChars) return false;
    m_decoder = DecoderPool::instance().take(m_budgetMs, m_cancel);
    if (!m_decoder) return false;
    decoder::Request& q = m_decoder->control().request;
    std::memcpy(q.path, path.data(), path.size() * sizeof(wchar_t));
    q.pathChars = static_cast<uint32_t>(path.size());
    q.fault = fault;
    // Taking the process counts towards the open.
    decoder::Result opened = call(decoder::Command::Open, deadline.remainingMs());
    if (opened == decoder::Result::Denied) {
        // The decoder's rights are too low for the file: it reads it through a handle of ours.
        const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) return false;
        q.file = m_decoder->giveHandle(file.get(), FILE_GENERIC_READ);
        if (!q.file) return false;
        opened = call(decoder::Command::OpenHandle, deadline.remainingMs());
    }
    if (opened != decoder::Result::Ok) return false;
    MediaInfo info = m_decoder->control().response.info;  // one read: the decoder may change it meanwhile
    if (!Sanitize(info)) return false;
    if (!info.hasVideo) {
        m_info = info;
        return true;
    }

    const size_t slotBytes = (decoder::SlotBytes(info.video) + kSlotAlign - 1) / kSlotAlign * kSlotAlign;
    const unsigned long long total = static_cast<unsigned long long>(slotBytes) * decoder::kPictureSlots;
    UniqueHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                            static_cast<DWORD>(total >> 32), static_cast<DWORD>(total), nullptr));
    if (!section) return false;
    const auto* view = static_cast<const uint8_t*>(MapViewOfFile(section.get(), FILE_MAP_READ, 0, 0, total));
    if (!view) return false;
    m_ring = std::make_shared<PictureRing>(std::move(section), view, slotBytes);
    q.pictures = m_decoder->giveHandle(m_ring->section(), FILE_MAP_WRITE);
    q.slotBytes = slotBytes;
    if (!q.pictures || call(decoder::Command::MapPictures, deadline.remainingMs()) != decoder::Result::Ok) return false;
    m_info = info;
    return true;
}

ReadStatus RemoteSource::readVideo(VideoSample& out)
{
    if (m_decoder && !m_info.hasVideo) return ReadStatus::EndOfStream;
    if (!m_decoder || !m_ring) return ReadStatus::Error;
    const uint32_t slot = m_ring->acquire(m_cancel);
    if (slot >= decoder::kPictureSlots) return ReadStatus::Error;
    m_decoder->control().request.slot = slot;
    const decoder::Result result = call(decoder::Command::ReadVideo, m_budgetMs);
    if (result != decoder::Result::Ok) return result == decoder::Result::EndOfStream ? ReadStatus::EndOfStream : ReadStatus::Error;
    const decoder::Response& r = m_decoder->control().response;
    const VideoFormat format = r.info.video;
    const double pts = r.pts, duration = r.duration;
    if (!decoder::SlotFormatFits(format, m_ring->slotBytes()) || !std::isfinite(pts)) return ReadStatus::Error;
    m_info.video = format;
    if (m_info.video.parNum <= 0 || m_info.video.parDen <= 0) m_info.video.parNum = m_info.video.parDen = 1;
    out.hold = m_ring->lease(slot);
    out.planes = PlanesAt(m_ring->slot(slot), format, decoder::SlotGeometry(format));
    out.pts = pts;
    out.duration = Finite(duration) > 0.0 ? duration : m_info.video.frameDuration;
    return ReadStatus::Sample;
}

ReadStatus RemoteSource::readAudio(AudioChunk& out)
{
    if (!m_info.hasAudio) return ReadStatus::EndOfStream;
    const decoder::Result result = call(decoder::Command::ReadAudio, m_budgetMs);
    if (result != decoder::Result::Ok) return result == decoder::Result::EndOfStream ? ReadStatus::EndOfStream : ReadStatus::Error;
    const decoder::Response& r = m_decoder->control().response;
    const size_t channels = static_cast<size_t>(m_info.audio.channels);
    const size_t frames = r.audioFrames;
    const double pts = r.pts;
    if (frames == 0 || frames > decoder::kAudioSamples / channels || !std::isfinite(pts)) return ReadStatus::Error;
    out.samples.assign(r.audio, r.audio + frames * channels);
    out.pts = pts;
    return ReadStatus::Sample;
}

TrackSwitch RemoteSource::selectAudioTrack(int index, double seconds)
{
    if (!m_decoder || index < 0 || index >= m_info.audioTrackCount) return TrackSwitch::Refused;
    m_decoder->control().request.audioTrack = static_cast<uint32_t>(index);
    m_decoder->control().request.seekSeconds = seconds;
    switch (call(decoder::Command::SelectAudio, m_budgetMs)) {
    case decoder::Result::Ok: return TrackSwitch::Alongside;
    case decoder::Result::Denied: return TrackSwitch::InPlace;
    default: return TrackSwitch::Refused;
    }
}

bool RemoteSource::seek(double seconds)
{
    if (!m_decoder) return false;
    m_decoder->control().request.seekSeconds = seconds;
    return call(decoder::Command::Seek, m_budgetMs) == decoder::Result::Ok;
}

} // namespace avcore
