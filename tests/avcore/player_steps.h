#pragma once
// Steps the engine tests take again and again: an engine drawing into a window, a
// generated file opened, played until pictures show, and a window that must paint itself.
#include <cstdint>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "media_env.h"
#include "support/pump.h"

namespace avtest {

// An engine drawing into the given window.
struct WindowedPlayer : avplayer {
    explicit WindowedPlayer(TestWindow& w) { subclasswindow(w.hwnd(), 1); }
};

// A decoder process starts and warms up within this on a loaded machine.
constexpr DWORD kDecoderReadyMs = 10000;

// Waits until the engine has a decoder that has finished starting for the next file, as a
// user's next file finds one: how long a busy machine takes to start a process is not what
// these tests are about, and an open that waits for one may pass its budget.
inline bool WaitForReadyDecoder(DWORD ms = kDecoderReadyMs)
{
    return testsupport::PumpUntil([] { return avplayer_probe::decoderPoolSettled(); }, ms);
}

// True when the engine takes the generated file, opened once a decoder is ready for it.
inline bool Open(avplayer& p, const char* name = "clip.mp4", int shape = 0, int effect = 0)
{
    WaitForReadyDecoder();
    return p.open(MediaPath(name).c_str(), 0, 2, shape, effect) != 0;
}

// Plays from the start until more than `pictures` have been drawn (three seconds at most).
inline bool PlayUntilShown(avplayer& p, uint64_t pictures = 3)
{
    p.play(0, 0);
    return testsupport::PumpUntil([&] { return avplayer_probe::counters(p).presented > pictures; }, 3000);
}

// Plays from the start until the clock has passed `seconds`.
inline bool PlayPast(avplayer& p, double seconds, DWORD ms = 3000)
{
    p.play(0, 0);
    return testsupport::PumpUntil([&] { return p.curr_play_time() > seconds; }, ms);
}

// Waits until more than `pictures` further pictures have been drawn.
inline bool ShowsMore(avplayer& p, uint64_t pictures, DWORD ms = 3000)
{
    const uint64_t shown = avplayer_probe::counters(p).presented;
    return testsupport::PumpUntil([&] { return avplayer_probe::counters(p).presented > shown + pictures; }, ms);
}

// Whether the window's own procedure paints it when asked to.
inline bool PaintsItself(TestWindow& w)
{
    const int paints = w.paints;
    InvalidateRect(w.hwnd(), nullptr, TRUE);
    return testsupport::PumpUntil([&] { return w.paints > paints; }, 1000);
}

} // namespace avtest
