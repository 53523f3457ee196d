#include "avcore/avplayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "avcore/audio_gain.h"
#include "avcore/call_budget.h"
#include "avcore/decoder_pool.h"
#include "avcore/player_impl.h"

namespace {

constexpr size_t kMaxPathBytes = 256;  // the caller's buffer: 255 bytes and the NUL

// The ANSI path as a wide path, or empty when it is absent, too long or not text.
std::wstring WidePath(const char* path)
{
    if (!path) return {};
    const size_t n = strnlen(path, kMaxPathBytes);
    if (n == 0 || n >= kMaxPathBytes) return {};
    const int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, static_cast<int>(n), nullptr, 0);
    if (wide <= 0) return {};
    std::wstring out(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, static_cast<int>(n), out.data(), wide);
    return out;
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
    std::wstring wide = WidePath(path);
    const DWORD budgetMs = avcore::CallBudgetMs(wide);
    const avcore::Deadline deadline(budgetMs);
    CloseWithin(*m_impl, deadline);
    if (wide.empty()) return 0;
    auto session = std::make_unique<avcore::PlaybackSession>(m_impl->presenter, m_impl->controls, m_impl->seams);
    if (!session->open(avcore::OpenRequest{std::move(wide), shape, effectCode, budgetMs}, deadline)) return 0;
    m_impl->budgetMs = budgetMs;
    m_impl->session = std::move(session);
    m_impl->mode = Impl::Mode::Opened;
    return 1;
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
