// Keys for the speed: [ and ] step it, Backspace returns to normal.
#include "playback/PlaybackSpeed.h"
#include "app/MainFrame.h"
#include "playback/PlayerTexts.h"

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

bool CMainFrame::HandleSpeedKey(WPARAM key) {
    switch (key) {
    case VK_OEM_4:  // [
        m_player.set_speed(SteppedSpeed(m_player.speed(), -1));
        return true;
    case VK_OEM_6:  // ]
        m_player.set_speed(SteppedSpeed(m_player.speed(), 1));
        return true;
    case VK_BACK:
        m_player.set_speed(kNormalSpeed);
        return true;
    default:
        return false;
    }
}

} // namespace DuiLib
