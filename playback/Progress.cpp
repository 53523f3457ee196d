// The polling tick: the status text, and every view of playback (this window's clock
// and sliders, the full-screen bar's) drawn from one reading of the engine; seeking
// from either window's seek slider and the hold a pressed thumb keeps.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "playback/OpenedPaths.h"
#include "playback/PlaybackSpeed.h"
#include "playback/ProgressMath.h"

namespace DuiLib {

namespace {

void ShowStatus(CPaintManagerUI& manager, LPCTSTR text) {
    if (CControlUI* status = manager.FindControl(kCtlPlayStatus)) {
        status->SetText(text);
        status->Invalidate();
    }
}

} // namespace

void CMainFrame::UpdateProgress() {
    // Each test asks anew, so a status that changes within the tick is seen at once.
    const int status = m_player.play_status();
    // A file of sound alone names itself where its picture would be.
    const bool soundOnly = IsOpenStatus(status) && !m_player.has_video();
    ShowNoVideoText(soundOnly ? playlist::DisplayName(static_cast<LPCTSTR>(m_strCurPath)).c_str() : kTextNoVideo);
    PlaybackView view;
    if (m_player.play_status() == kStatusPlaying) {
        ShowStatus(m_PaintManager, PlayingStatusText(m_player.speed()).c_str());
        const double t = m_player.curr_play_time();
        const double d = m_player.duration();
        view.playing = true;
        view.curTime = FormatTime(t);
        view.totalTime = FormatTime(d);
        // Never pulled from under the user's hand while the thumb is held.
        if (!SeekThumbHeld())
            view.seekPosition = SeekSliderPosition(t, d);
    } else if (m_player.play_status() == kStatusPaused) {
        ShowStatus(m_PaintManager, kTextPaused);
    } else if (m_player.play_status() == kStatusStopped ||
               (m_player.play_status() == kStatusClosed && !m_strCurPath.IsEmpty() && !m_bOpenFailed)) {
        // Stopping closes the file too (stop, the list's end): once a file has
        // played, nothing open means stopped, not the last word left standing;
        // after a failed open the title keeps saying which file could not play.
        ShowStatus(m_PaintManager, kTextStopped);
    }
    ShowPlayback(view);
    if (m_player.play_status() == kStatusEnded) {
        m_player.stop();
        m_player.close();
        m_nRowsSkipped = 0;
        PlayNextPlayable();
    }
}

void CMainFrame::ShowPlayback(PlaybackView view) {
    // The volume is the one the user set, kept by this window's slider (the engine keeps
    // none to read back); a thumb that playback does not move stays where it stands.
    if (m_pVolumeSlider && view.volume < 0)
        view.volume = m_pVolumeSlider->GetValue();
    if (m_pPlaySlider) {
        if (view.seekPosition >= 0)
            m_pPlaySlider->SetValue(view.seekPosition);
        view.seekPosition = m_pPlaySlider->GetValue();
    }
    if (view.playing) {
        if (m_pCurTimeText)
            m_pCurTimeText->SetText(view.curTime);
        if (m_pTotalTimeText)
            m_pTotalTimeText->SetText(view.totalTime);
    }
    ShowPlaybackInBar(view);
}

bool CMainFrame::SeekThumbHeld() { return m_bSeeking || (m_pPlaySlider && m_pPlaySlider->IsDragging()); }

void CMainFrame::BeginSeek(CSliderUI* slider) {
    if (slider && slider->IsDragging())
        m_bSeeking = 1;
}

void CMainFrame::EndSeek() { m_bSeeking = 0; }

void CMainFrame::SeekFromSlider() {
    if (!m_pPlaySlider) {
        EndSeek();
        return;
    }
    SeekToSliderValue(m_pPlaySlider->GetValue(), m_pPlaySlider->GetMaxValue());
}

void CMainFrame::SeekToSliderValue(int value, int max) {
    // The slider reports when the thumb is let go (or lost): from now on it follows
    // playback again, whatever release or key brought the report.
    EndSeek();
    if (m_pPlaySlider)
        m_pPlaySlider->SetValue(value);
    if (max == 0)
        return;
    m_player.seek_to(SeekFraction(value, max));
}

void CMainFrame::FollowSeekPreview(CSeekPreview& preview, HWND owner, CSliderUI* slider, POINT client) {
    preview.Follow(owner, slider, client, [this] { return IsFileOpen() ? m_player.duration() : 0.0; });
}

} // namespace DuiLib
