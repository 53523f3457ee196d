// Playback commands of the main window. Engine calls are guarded by the status the
// engine reports, never by their results; only open's result is tested.
#include "app/MainFrame.h"
#include "playback/EnginePath.h"
#include "app/PlayerTexts.h"

namespace DuiLib {

namespace {

void StopAndClose(avplayer& player) {
    player.stop();
    player.close();
}

} // namespace

// An open file must be stopped and closed before another.
bool CMainFrame::IsFileOpen() { return IsOpenStatus(m_player.play_status()); }

void CMainFrame::OnPlayCommand() {
    if (!m_pPlayList)
        return;
    if (m_pPlayList->GetCount() == 0) {
        ShowNotice(kTextAddFilesFirst);
        return;
    }
    PlaySelected();
}

void CMainFrame::PlaySelected() {
    if (!m_pPlayList)
        return;
    int sel = m_pPlayList->GetCurSel();
    if (sel < 0 || sel >= m_pPlayList->GetCount()) {
        m_pPlayList->SelectItem(0, false);
        sel = 0;
    }
    CControlUI* row = m_pPlayList->GetItemAt(sel);
    if (!row)
        return;
    const CDuiString path = row->GetName();
    if (path == m_strCurPath)
        PlayOrPause(path);
    else
        OpenAndPlay(path);
}

void CMainFrame::PlayOrPause(LPCTSTR path) {
    if (!path)
        return;
    const int status = m_player.play_status();
    if (status == kStatusPaused)
        m_player.resume();
    else if (status == kStatusPlaying)
        m_player.pause();
    else
        OpenAndPlay(path);
}

void CMainFrame::OpenAndPlay(LPCTSTR path) {
    const HWND picture = VideoWindow();
    if (!path || !*path || !picture)
        return;
    // Whatever opens now, a seek or a skip still due belonged to the file before.
    ::KillTimer(m_hWnd, kTimerResumeSeek);
    ::KillTimer(m_hWnd, kTimerSkipRow);
    if (IsFileOpen())
        StopAndClose(m_player);

    // Opening can take a moment: the user sees why the window waits.
    if (CControlUI* status = m_PaintManager.FindControl(kCtlPlayStatus)) {
        status->SetText(kTextLoading);
        status->Invalidate();
    }
    ::UpdateWindow(m_hWnd);

    m_player.subclasswindow(picture, 1);
    if (!OpenInEngine(m_player, path, m_effect)) {
        ShowCannotPlay(path);
        return;
    }
    m_bOpenFailed = 0;
    m_strCurPath = path;
    LoadSubtitlesBeside(path);
    m_player.play(StartOfOpenedFile(path), 0);

    if (CControlUI* shown = m_PaintManager.FindControl(kCtlPlayingPath))
        shown->SetText(path);
    ::UpdateWindow(m_hWnd);
}

void CMainFrame::ShowCannotPlay(LPCTSTR path) {
    // The loaded path stays the last file that opened; the title names the one that failed.
    m_bOpenFailed = 1;
    if (CControlUI* status = m_PaintManager.FindControl(kCtlPlayStatus)) {
        status->SetText(kTextCannotPlay);
        status->Invalidate();
    }
    if (CControlUI* shown = m_PaintManager.FindControl(kCtlPlayingPath))
        shown->SetText(path);
    ::UpdateWindow(m_hWnd);
}

void CMainFrame::PauseOrResume() {
    const int status = m_player.play_status();
    if (status == kStatusPlaying)
        m_player.pause();
    else if (status == kStatusPaused)
        m_player.resume();
}

void CMainFrame::StopPlayback() {
    // Stop also ends a walk past rows that would not open.
    ::KillTimer(m_hWnd, kTimerSkipRow);
    if (IsFileOpen())
        StopAndClose(m_player);
}

void CMainFrame::PlayPrev() {
    // Stopped first, so the row is opened anew even when it is the one that played.
    if (IsFileOpen())
        StopAndClose(m_player);
    if (!m_pPlayList)
        return;
    const int count = m_pPlayList->GetCount();
    const int sel = m_pPlayList->GetCurSel();
    int target;
    if (sel < 0 || sel >= count) {
        m_pPlayList->SelectItem(0, false);
        target = count - 1;
    } else {
        target = sel == 0 ? count - 1 : sel - 1;
    }
    m_pPlayList->SelectItem(target, false);
    PlaySelected();
}

void CMainFrame::PlayNext() {
    if (IsFileOpen())
        StopAndClose(m_player);
    if (!m_pPlayList)
        return;
    const int count = m_pPlayList->GetCount();
    int sel = m_pPlayList->GetCurSel();
    if (sel < 0 || sel >= count) {
        m_pPlayList->SelectItem(0, false);
        sel = 0;
    }
    m_pPlayList->SelectItem(sel < count - 1 ? sel + 1 : 0, false);
    PlaySelected();
}

void CMainFrame::PlayNextPlayable() {
    m_bOpenFailed = 0;
    PlayNext();
    if (!m_bOpenFailed) {
        m_nRowsSkipped = 0;
        return;
    }
    // Left in the title for a moment, so the user sees which file was passed over. A
    // list of files that all fail is walked once, never round and round.
    if (m_pPlayList && ++m_nRowsSkipped < m_pPlayList->GetCount())
        ::SetTimer(m_hWnd, kTimerSkipRow, kSkipRowDelayMs, nullptr);
    else
        m_nRowsSkipped = 0;
}

} // namespace DuiLib
