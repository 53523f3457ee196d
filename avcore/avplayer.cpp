#include "avcore/avplayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "avcore/audio_gain.h"
#include "avcore/call_budget.h"
#include "avcore/decoder_pool.h"
#include "avcore/player_impl.h"
#include "avcore/subtitle_file.h"

namespace {

// The ANSI path as a wide path, or empty when it is absent, too long or not text.
std::wstring WidePath(const char* path)
{
    if (!path) return {};
    const size_t n = strnlen(path, avplayer::kMaxAnsiPathBytes + 1);
    if (n == 0 || n > avplayer::kMaxAnsiPathBytes) return {};
    const int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, static_cast<int>(n), nullptr, 0);
    if (wide <= 0) return {};
    std::wstring out(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, static_cast<int>(n), out.data(), wide);
    return out;
}

// The caller's wide path, or empty when it is absent or too long.
std::wstring WidePath(const wchar_t* path)
{
    if (!path) return {};
    const size_t n = wcsnlen(path, avplayer::kMaxWidePathChars + 1);
    return n > avplayer::kMaxWidePathChars ? std::wstring() : std::wstring(path, n);
}

// The window stays attached: a next open draws into it without a new subclasswindow.
int CloseWithin(avplayer::Impl& impl, const avcore::Deadline& deadline)
{
    if (!impl.session) return 0;
    impl.session->shutdown(deadline);  // the threads end (or are let go) before the picture goes
    impl.session.reset();
    impl.presenter->clear();
    impl.mode = avplayer::Impl::Mode::Closed;
    return 1;
}

// Both opens: whatever was open closes first, also when the new path is refused.
int OpenWithin(avplayer::Impl& impl, std::wstring wide, int shape, int effectCode)
{
    const DWORD budgetMs = avcore::CallBudgetMs(wide);
    const avcore::Deadline deadline(budgetMs);
    CloseWithin(impl, deadline);
    impl.presenter->subtitles().setTrack(nullptr);  // the last file's text never shows over this one
    if (wide.empty()) return 0;
    auto session = std::make_unique<avcore::PlaybackSession>(impl.presenter, impl.controls, impl.seams);
    if (!session->open(avcore::OpenRequest{std::move(wide), shape, effectCode, budgetMs}, deadline)) return 0;
    impl.budgetMs = budgetMs;
    session->setSpeed(impl.speed);
    impl.session = std::move(session);
    impl.mode = avplayer::Impl::Mode::Opened;
    return 1;
}

} // namespace

avplayer::avplayer() : m_impl(std::make_unique<Impl>())
{
    avcore::DecoderPool::instance().prepare();  // the first open finds a decoder process waiting
}

avplayer::~avplayer()
{
    close();
    m_impl->presenter->detach();
}

int avplayer::subclasswindow(HWND hwnd, int /*mode*/)
{
    return m_impl->presenter->attach(hwnd) ? 1 : 0;
}

int avplayer::open(const char* path, int, int, int shape, int effectCode)
{
    return OpenWithin(*m_impl, WidePath(path), shape, effectCode);
}

int avplayer::open_wide(const wchar_t* path, int, int, int shape, int effectCode)
{
    return OpenWithin(*m_impl, WidePath(path), shape, effectCode);
}

unsigned long avplayer::call_budget_ms(const wchar_t* path)
{
    return avcore::CallBudgetMs(path ? path : L"");
}

int avplayer::play(double startSeconds, int)
{
    if (!m_impl->session) return 0;
    m_impl->session->play(std::isfinite(startSeconds) ? startSeconds : 0.0);
    m_impl->mode = Impl::Mode::Playing;
    return 1;
}

int avplayer::pause()
{
    if (m_impl->mode != Impl::Mode::Playing || m_impl->session->ended()) return 0;
    m_impl->session->setRunning(false);
    m_impl->mode = Impl::Mode::Paused;
    return 1;
}

int avplayer::resume()
{
    if (m_impl->mode != Impl::Mode::Paused) return 0;
    m_impl->session->setRunning(true);
    m_impl->mode = Impl::Mode::Playing;
    return 1;
}

int avplayer::stop()
{
    if (!m_impl->session) return 0;
    m_impl->session->setRunning(false);
    m_impl->mode = Impl::Mode::Stopped;
    return 1;
}

int avplayer::close()
{
    return CloseWithin(*m_impl, avcore::Deadline(m_impl->budgetMs));
}

int avplayer::play_status()
{
    // A decoder that died or was killed ends the file as a stop would.
    if ((m_impl->mode == Impl::Mode::Playing || m_impl->mode == Impl::Mode::Paused) && m_impl->session->decoderLost()) {
        m_impl->session->setRunning(false);
        m_impl->mode = Impl::Mode::Stopped;
    }
    switch (m_impl->mode) {
    case Impl::Mode::Playing: return m_impl->session->ended() ? 3 : 1;
    case Impl::Mode::Paused: return 2;
    case Impl::Mode::Opened:
    case Impl::Mode::Stopped: return 4;
    case Impl::Mode::Closed: break;
    }
    return 0;
}

double avplayer::curr_play_time()
{
    return m_impl->session ? m_impl->session->position() : 0.0;
}

double avplayer::duration()
{
    return m_impl->session ? m_impl->session->duration() : 0.0;
}

void avplayer::seek_to(double fraction)
{
    if (!m_impl->session || !std::isfinite(fraction)) return;
    fraction = std::clamp(fraction, 0.0, 1.0);
    m_impl->session->seek(fraction * m_impl->session->duration());
}

void avplayer::volume(double left, double right)
{
    // NaN says nothing about the wanted level: keep the current one.
    if (!std::isnan(left)) m_impl->controls->gainLeft.store(avcore::VolumeToGain(left));
    if (!std::isnan(right)) m_impl->controls->gainRight.store(avcore::VolumeToGain(right));
}

void avplayer::mute_set(bool mute)
{
    m_impl->controls->muted.store(mute);
}

bool avplayer::get_mute()
{
    return m_impl->controls->muted.load();
}

int avplayer::set_subtitles(const wchar_t* path)
{
    avcore::SubtitleOverlay& overlay = m_impl->presenter->subtitles();
    int result = avcore::kSubtitlesLoaded;
    std::shared_ptr<avcore::SubtitleTrack> track;
    if (path) {
        track = std::make_shared<avcore::SubtitleTrack>();
        result = avcore::LoadSubtitleFile(path, *track);
        if (result != avcore::kSubtitlesLoaded) track.reset();
    }
    overlay.setTrack(std::move(track));
    m_impl->presenter->redraw();
    return result;
}

void avplayer::subtitles_show(bool show)
{
    m_impl->presenter->subtitles().setVisible(show);
    m_impl->presenter->redraw();
}

bool avplayer::subtitles_shown()
{
    return m_impl->presenter->subtitles().visible();
}

void avplayer::subtitles_delay(double seconds)
{
    if (!std::isfinite(seconds)) return;
    m_impl->presenter->subtitles().setDelay(seconds);
    m_impl->presenter->redraw();
}

double avplayer::subtitles_delay()
{
    return m_impl->presenter->subtitles().delay();
}

void avplayer::set_speed(double speed)
{
    if (std::isnan(speed)) return;
    m_impl->speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
    if (m_impl->session) m_impl->session->setSpeed(m_impl->speed);
}

double avplayer::speed()
{
    return m_impl->speed;
}

bool avplayer::has_video()
{
    return m_impl->session && m_impl->session->state().info.hasVideo;
}

bool avplayer::last_picture(std::vector<unsigned char>& bgra, int& width, int& height) const
{
    // The presenter keeps the picture it drew last until the file closes.
    const avcore::FramePtr frame = m_impl->session ? m_impl->presenter->current() : nullptr;
    if (!frame || frame->width <= 0 || frame->height <= 0) return false;
    avcore::CopyPicture(*frame, bgra);
    width = frame->width;
    height = frame->height;
    return true;
}

std::vector<struct avplayer::audio_track> avplayer::audio_tracks()
{
    std::vector<struct audio_track> tracks;
    if (!m_impl->session) return tracks;
    const avcore::MediaInfo& info = m_impl->session->state().info;
    for (int i = 0; i < info.audioTrackCount; ++i)
        tracks.push_back({i + 1, info.audioTracks[i].language, info.audioTracks[i].channels});
    return tracks;
}

bool avplayer::set_audio_track(int number)
{
    return m_impl->session && m_impl->session->selectAudioTrack(number);
}

int avplayer::audio_track()
{
    return m_impl->session ? m_impl->session->audioTrack() : 0;
}
