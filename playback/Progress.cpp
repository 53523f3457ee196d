// The polling tick's display: status and clock texts and the seek slider, copied
// into the full-screen bar; seeking from the main window's seek slider.
#include "app/MainFrame.h"
#include "playback/OpenedPaths.h"
#include "playback/PlaybackSpeed.h"
#include "playback/PlayerTexts.h"
#include "playback/ProgressMath.h"
#include "video/PlayBarFrame.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

namespace {

void ShowStatus(CPaintManagerUI& manager, LPCTSTR text) {
    if (CControlUI* status = manager.FindControl(kCtlPlayStatus)) {
        status->SetText(text);
        status->Invalidate();
    }
}

void SetClockText(CControlUI* control, double seconds) {
    if (control)
        control->SetText(FormatTime(seconds));
}

} // namespace

void CMainFrame::UpdateProgress() {
    // Each test asks anew, so a status that changes within the tick is seen at once.
    const int status = m_player.play_status();
    // A file of sound alone names itself where its picture would be.
    if (m_pVideoWnd) {
        const bool soundOnly = (status == kStatusPlaying || status == kStatusPaused) && !m_player.has_video();
        m_pVideoWnd->ShowNoVideoText(
            soundOnly ? playlist::DisplayName(static_cast<LPCTSTR>(m_strCurPath)).c_str() : kTextNoVideo);
    }
    if (m_player.play_status() == kStatusPlaying) {
        ShowStatus(m_PaintManager, PlayingStatusText(m_player.speed()).c_str());
        const double t = m_player.curr_play_time();
        const double d = m_player.duration();
        SetClockText(m_pCurTimeText, t);
        SetClockText(m_pTotalTimeText, d);
        // Never pulled from under the user's hand while the thumb is held.
        if (!m_bSeeking && m_pPlaySlider && !m_pPlaySlider->IsDragging())
            m_pPlaySlider->SetValue(SeekSliderPosition(t, d));
    } else if (m_player.play_status() == kStatusPaused) {
        ShowStatus(m_PaintManager, kTextPaused);
    } else if (m_player.play_status() == kStatusStopped ||
               (m_player.play_status() == kStatusClosed && !m_strCurPath.IsEmpty() && !m_bOpenFailed)) {
        // Stopping closes the file too (stop, the list's end): once a file has
        // played, nothing open means stopped, not the last word left standing;
        // after a failed open the title keeps saying which file could not play.
        ShowStatus(m_PaintManager, kTextStopped);
    }
    if (m_player.play_status() == kStatusEnded) {
        m_player.stop();
        m_player.close();
        m_nRowsSkipped = 0;
        PlayNextPlayable();
    }
}

void CMainFrame::SyncPlayBar() {
    CPlayBarFrame* bar = m_pVideoWnd ? m_pVideoWnd->m_pPlayBar : nullptr;
    if (!bar)
        return;
    // A bar slider the user is dragging keeps the place the pointer gives it.
    if (m_pVolumeSlider && bar->m_pSliderVolume && !bar->m_pSliderVolume->IsDragging())
        bar->m_pSliderVolume->SetValue(m_pVolumeSlider->GetValue());
    if (m_pPlaySlider && bar->m_pSliderPlay && !bar->m_pSliderPlay->IsDragging())
        bar->m_pSliderPlay->SetValue(m_pPlaySlider->GetValue());
    if (m_player.play_status() == kStatusPlaying && bar->m_pTxtCurTime) {
        SetClockText(bar->m_pTxtCurTime, m_player.curr_play_time());
        SetClockText(bar->m_pTxtTotalTime, m_player.duration());
    }
}

void CMainFrame::NoteSeekThumbPressed(CSliderUI* slider) {
    if (slider && slider->IsDragging())
        m_bSeeking = 1;
}

void CMainFrame::SeekFromSlider() {
    // The slider reports when the thumb is let go (or lost): from now on it follows
    // playback again, whatever release or key brought the report.
    m_bSeeking = 0;
    if (!m_pPlaySlider)
        return;
    int max = m_pPlaySlider->GetMaxValue();
    if (max == 0)
        return;
    m_player.seek_to(SeekFraction(m_pPlaySlider->GetValue(), max));
}

void CMainFrame::FollowSeekPreview(CSeekPreview& preview, HWND owner, CSliderUI* slider, POINT client) {
    preview.Follow(owner, slider, client, [this] {
        const int status = m_player.play_status();
        return status == kStatusPlaying || status == kStatusPaused ? m_player.duration() : 0.0;
    });
}

} // namespace DuiLib
