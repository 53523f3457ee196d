// The main window's side of the user's state: restored at start, saved at close and
// every ten seconds while playing, and the resume place of each opened file.
#include "app/MainFrame.h"

#include "playback/OpenedPaths.h"
#include "app/PlayerTexts.h"
#include "playback/ProgressMath.h"
#include "state/StateFiles.h"

namespace DuiLib {

namespace {

// Enough of the window on one monitor to take it by its title bar.
constexpr int kMinVisibleWidth = 100;
constexpr int kMinVisibleHeight = 50;

bool LiesOnAMonitor(const RECT& rc) {
    HMONITOR monitor = ::MonitorFromRect(&rc, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!monitor || !::GetMonitorInfoW(monitor, &info))
        return false;
    RECT seen;
    return ::IntersectRect(&seen, &rc, &info.rcWork) && seen.right - seen.left >= kMinVisibleWidth &&
           seen.bottom - seen.top >= kMinVisibleHeight && rc.top >= info.rcWork.top &&
           rc.top <= info.rcWork.bottom - kMinVisibleHeight;
}

constexpr const wchar_t* kResumeTextBefore = L"从 ";
constexpr const wchar_t* kResumeTextAfter = L" 继续播放";

} // namespace

bool CMainFrame::RestoreUserState(const std::wstring& stateFile) {
    m_userState.file = stateFile;
    m_userState.lastSaveTick = ::GetTickCount64();
    if (stateFile.empty())
        return false;
    m_userState.state = userstate::ParseUserState(userstate::ReadStateFile(stateFile));
    const userstate::UserState& state = m_userState.state;

    // A row whose file has gone stays; opening it says it cannot be played.
    for (const std::wstring& row : state.rows)
        AddListItem(row.c_str(), playlist::DisplayName(row).c_str());
    if (m_pPlayList && state.selected >= 0)
        m_pPlayList->SelectItem(state.selected, false);
    if (m_pVolumeSlider) {
        m_pVolumeSlider->SetValue(state.volume);
        SetVolumeFromSlider();
    }
    m_player.mute_set(state.muted);
    m_player.set_speed(state.speed);
    UpdateMuteButtons(m_player.get_mute());
    if (state.listShown != (m_bListShown == 1))
        ToggleListPanel();

    if (!state.window)
        return false;
    const userstate::WindowPlace& place = *state.window;
    const RECT rc{place.left, place.top, place.right, place.bottom};
    if (!LiesOnAMonitor(rc))
        return false;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    placement.rcNormalPosition = rc;
    placement.showCmd = place.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    ::SetWindowPlacement(m_hWnd, &placement);
    ShowMaximizedButtons(place.maximized);
    return true;
}

void CMainFrame::SaveUserState() {
    if (m_userState.file.empty())
        return;
    userstate::UserState& state = m_userState.state;
    m_userState.NoteWhereLeft();
    state.rows.clear();
    if (m_pPlayList) {
        for (int i = 0; i < m_pPlayList->GetCount(); ++i)
            if (CControlUI* row = m_pPlayList->GetItemAt(i))
                state.rows.push_back(row->GetName().str());
        state.selected = m_pPlayList->GetCurSel();
    }
    if (m_pVolumeSlider)
        state.volume = m_pVolumeSlider->GetValue();
    state.muted = m_player.get_mute();
    state.speed = m_player.speed();
    state.listShown = m_bListShown == 1;
    // A hidden window (closing) has no place worth keeping; the last one seen stays.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::IsWindowVisible(m_hWnd) && ::GetWindowPlacement(m_hWnd, &placement)) {
        const RECT& rc = placement.rcNormalPosition;
        const bool maximized = ::IsZoomed(m_hWnd) || (::IsIconic(m_hWnd) && (placement.flags & WPF_RESTORETOMAXIMIZED));
        state.window = userstate::WindowPlace{rc.left, rc.top, rc.right, rc.bottom, maximized};
    }
    userstate::ReplaceStateFile(m_userState.file, userstate::SerializeUserState(state));
    m_userState.lastSaveTick = ::GetTickCount64();
}

void CMainFrame::KeepUserState() {
    HoldStatusNotice();
    const int status = m_player.play_status();
    if (!IsOpenStatus(status))
        return;
    m_userState.openedAt = m_player.curr_play_time();
    m_userState.openedLength = m_player.duration();
    if (status == kStatusPlaying && ::GetTickCount64() - m_userState.lastSaveTick >= userstate::kSaveWhilePlayingMs)
        SaveUserState();
}

double CMainFrame::StartOfOpenedFile(LPCTSTR path) {
    // The file played before is left here, whatever ended it; its notice goes with it.
    m_userState.NoteWhereLeft();
    m_strStatusNotice.Empty();
    m_userState.opened = userstate::KeyOfFile(path ? path : L"");
    m_userState.openedAt = 0;
    m_userState.openedLength = 0;
    m_userState.openedTrack = 0;
    if (!m_userState.opened)
        return 0.0;
    // The track chosen for this file before, before it plays.
    const int track = userstate::AudioTrackAt(m_userState.state.positions, *m_userState.opened);
    if (track > 0 && m_player.set_audio_track(track))
        m_userState.openedTrack = track;
    const std::optional<double> resume = userstate::ResumeAt(m_userState.state.positions, *m_userState.opened);
    if (!resume)
        return 0.0;
    ShowStatusNotice((CDuiString(kResumeTextBefore) + FormatTime(*resume) + kResumeTextAfter).GetData());
    return *resume;
}

} // namespace DuiLib
