// The playback speed: its steps and the status text that names it, and the operations that set it.
#include "playback/PlaybackSpeed.h"
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace DuiLib {

double SteppedSpeed(double current, int steps) {
    if (!std::isfinite(current))
        current = kNormalSpeed;
    const double snapped = std::round(current / kSpeedStep) * kSpeedStep;
    return std::clamp(snapped + steps * kSpeedStep, avplayer::kMinSpeed, avplayer::kMaxSpeed);
}

std::wstring PlayingStatusText(double speed) {
    if (!(std::fabs(speed - kNormalSpeed) > 1e-9))
        return kTextPlaying;
    wchar_t number[32];
    std::swprintf(number, 32, L"%g", speed);
    return std::wstring(kTextPlaying) + L" " + number + L"x";
}

void CMainFrame::StepSpeed(int steps) { m_player.set_speed(SteppedSpeed(m_player.speed(), steps)); }

void CMainFrame::NormalSpeed() { m_player.set_speed(kNormalSpeed); }

void CMainFrame::SetSpeed(double speed) { m_player.set_speed(speed); }

} // namespace DuiLib
