// Keys and the wheel of every window: a key runs its command from the key map; Up,
// Down and the wheel over the picture move the volume by five, the way the volume
// slider does. On a focused seek slider the arrows, and the wheel over it, seek five seconds.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"

#include <windowsx.h>

#include <algorithm>

namespace DuiLib {

namespace {

using playercmd::kSeekStepSeconds;
using playercmd::kVolumeStep;

// Whole notches in rest + wheelDelta (one notch is 120); a fine-grained wheel adds up
// to one, and what is short of a notch stays in rest.
int TakeNotches(int& rest, int wheelDelta) {
    rest += wheelDelta;
    const int notches = rest / WHEEL_DELTA;
    rest -= notches * WHEEL_DELTA;
    return notches;
}

} // namespace

bool CMainFrame::RunKey(WPARAM key, CSliderUI* seekSlider, bool focusTakesArrows) {
    if (SeekSliderKey(seekSlider, key))
        return true;
    const playercmd::Command command =
        playercmd::CommandOfKey(static_cast<unsigned>(key), ::GetKeyState(VK_CONTROL) < 0);
    if (command == playercmd::Command::None || (focusTakesArrows && playercmd::IsArrowCommand(command)))
        return false;
    RunCommand(command);
    return true;
}

bool CMainFrame::FocusTakesArrows() {
    CControlUI* focus = m_PaintManager.GetFocus();
    return focus && (focus->GetInterface(L"List") || focus->GetInterface(L"ListItem") || focus->GetInterface(L"Slider"));
}

void CMainFrame::SeekBy(double seconds) {
    if (!IsFileOpen())
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
    SetVolume(value, m_pVolumeSlider->GetMaxValue());
}

void CMainFrame::WheelVolume(int wheelDelta) {
    if (const int notches = TakeNotches(m_wheelRest, wheelDelta))
        StepVolume(notches * kVolumeStep);
}

// The slider's own small step would move the thumb and seek to it; the file moves
// instead, and the thumb goes on following playback.
bool CMainFrame::SeekSliderKey(CSliderUI* slider, WPARAM key) {
    if (!slider || !slider->GetManager() || slider->GetManager()->GetFocus() != slider)
        return false;
    switch (key) {
    case VK_LEFT:
    case VK_DOWN:
        SeekBy(-kSeekStepSeconds);
        return true;
    case VK_RIGHT:
    case VK_UP:
        SeekBy(kSeekStepSeconds);
        return true;
    default:
        return false;
    }
}

bool CMainFrame::SeekSliderWheel(CSliderUI* slider, HWND owner, WPARAM wParam, LPARAM lParam) {
    if (!slider || !slider->IsVisible() || !slider->IsEnabled())
        return false;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(owner, &at);
    const RECT& track = slider->GetPos();
    if (!::PtInRect(&track, at))
        return false;
    // Away from the user, as on the slider: forward.
    if (const int notches = TakeNotches(m_seekWheelRest, GET_WHEEL_DELTA_WPARAM(wParam)))
        SeekBy(notches * kSeekStepSeconds);
    return true;
}

} // namespace DuiLib
