// The volume and the mute pair: the engine's volume from either window's volume slider,
// and the mute pair of both windows as the engine reports it.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "playback/ProgressMath.h"

namespace DuiLib {

void CMainFrame::SetVolumeFromSlider() {
    if (m_pVolumeSlider)
        SetVolume(m_pVolumeSlider->GetValue(), m_pVolumeSlider->GetMaxValue());
}

void CMainFrame::SetVolume(int value, int max) {
    // Both sliders show one volume, so they must mean one: the value is shown as it is.
    if (m_pVolumeSlider)
        m_pVolumeSlider->SetValue(value);
    PlaybackView view;
    view.volume = value;
    ShowPlaybackInBar(view);
    if (max == 0)
        return;
    const double x = VolumePercent(value, max);
    m_player.volume(x, x);
}

void CMainFrame::MuteOn() {
    if (!IsFileOpen())
        return;
    m_player.mute_set(true);
    UpdateMuteButtons(m_player.get_mute());
}

void CMainFrame::MuteOff() {
    if (!IsFileOpen())
        return;
    m_player.mute_set(false);
    UpdateMuteButtons(m_player.get_mute());
}

void CMainFrame::UpdateMuteButtons(bool bMuted) {
    // The buttons follow what the engine reports, not what was asked.
    if (CControlUI* mute = m_PaintManager.FindControl(kCtlMute))
        mute->SetVisible(!bMuted);
    if (CControlUI* muteOff = m_PaintManager.FindControl(kCtlMuteOff))
        muteOff->SetVisible(bMuted);
    ShowMuteInBar(bMuted);
}

} // namespace DuiLib
