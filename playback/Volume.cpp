// Engine volume from the main window's volume slider, and the mute pair in both
// windows. The volume and the mute state live in the engine only.
#include "app/MainFrame.h"
#include "playback/PlayerTexts.h"
#include "playback/ProgressMath.h"
#include "video/PlayBarFrame.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

namespace {

void ShowPair(CControlUI* mute, CControlUI* muteOff, bool bMuted) {
    if (mute)
        mute->SetVisible(!bMuted);
    if (muteOff)
        muteOff->SetVisible(bMuted);
}

} // namespace

void CMainFrame::SetVolumeFromSlider() {
    if (!m_pVolumeSlider)
        return;
    int max = m_pVolumeSlider->GetMaxValue();
    if (max == 0)
        return;
    const double x = VolumePercent(m_pVolumeSlider->GetValue(), max);
    m_player.volume(x, x);
}

void CMainFrame::MuteOn() {
    if (m_player.play_status() != kStatusPlaying && m_player.play_status() != kStatusPaused)
        return;
    m_player.mute_set(true);
    UpdateMuteButtons(m_player.get_mute());
}

void CMainFrame::MuteOff() {
    if (m_player.play_status() != kStatusPlaying && m_player.play_status() != kStatusPaused)
        return;
    m_player.mute_set(false);
    UpdateMuteButtons(m_player.get_mute());
}

void CMainFrame::UpdateMuteButtons(bool bMuted) {
    // The buttons follow what the engine reports, not what was asked.
    ShowPair(m_PaintManager.FindControl(kCtlMute), m_PaintManager.FindControl(kCtlMuteOff), bMuted);
    if (m_pVideoWnd && m_pVideoWnd->m_pPlayBar)
        ShowPair(m_pVideoWnd->m_pPlayBar->m_pBtnMute, m_pVideoWnd->m_pPlayBar->m_pBtnMuteOff, bMuted);
}

} // namespace DuiLib
