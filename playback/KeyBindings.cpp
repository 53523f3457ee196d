// Keys and the wheel: Left/Right seek five seconds, Up/Down and the wheel over the
// picture move the volume by five, the way the volume slider does.
#include "app/MainFrame.h"
#include "playback/PlayerTexts.h"

#include <algorithm>

namespace DuiLib {

namespace {

constexpr double kSeekStepSeconds = 5.0;
constexpr int kVolumeStep = 5;

} // namespace

bool CMainFrame::HandlePlaybackKey(WPARAM key) {
    switch (key) {
    case VK_LEFT:
        SeekBy(-kSeekStepSeconds);
        return true;
    case VK_RIGHT:
        SeekBy(kSeekStepSeconds);
        return true;
    case VK_UP:
        StepVolume(kVolumeStep);
        return true;
    case VK_DOWN:
        StepVolume(-kVolumeStep);
        return true;
    default:
        return HandleScreenshotKey(key);
    }
}

bool CMainFrame::FocusTakesArrows() {
    CControlUI* focus = m_PaintManager.GetFocus();
    return focus && (focus->GetInterface(L"List") || focus->GetInterface(L"ListItem") || focus->GetInterface(L"Slider"));
}

void CMainFrame::SeekBy(double seconds) {
    const int status = m_player.play_status();
    if (status != kStatusPlaying && status != kStatusPaused)
        return;
    const double duration = m_player.duration();
    if (!(duration > 0.0))
        return;
    const double target = std::clamp(m_player.curr_play_time() + seconds, 0.0, duration);
    m_player.seek_to(target / duration);
}

void CMainFrame::StepVolume(int delta) {
    if (!m_pVolumeSlider)
        return;
    const int value = std::clamp(m_pVolumeSlider->GetValue() + delta, m_pVolumeSlider->GetMinValue(),
                                 m_pVolumeSlider->GetMaxValue());
    m_pVolumeSlider->SetValue(value);
    SetVolumeFromSlider();
    SyncPlayBar();
}

void CMainFrame::WheelVolume(int wheelDelta) {
    // One notch (120) is one step; a fine-grained wheel adds up to one.
    m_wheelRest += wheelDelta;
    const int notches = m_wheelRest / WHEEL_DELTA;
    m_wheelRest -= notches * WHEEL_DELTA;
    if (notches)
        StepVolume(notches * kVolumeStep);
}

} // namespace DuiLib
