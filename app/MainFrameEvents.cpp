// Routing of the main window: native messages and timers, control notifications
// and button clicks, each to the operation that handles it.
#include "app/MainFrame.h"
#include "settings/SystemInfoFrame.h"
#include "video/VideoRealWnd.h"

#include <windowsx.h>

#include <cwchar>

namespace DuiLib {

LRESULT CMainFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_TIMER:
        if (wParam == kTimerPoll) {
            UpdateProgress();
            SyncPlayBar();
            KeepUserState();
        } else if (wParam == kTimerFitVideo) {
            ::KillTimer(m_hWnd, kTimerFitVideo);
            FitVideoToPlayRegion();
        } else if (wParam == kTimerResumeSeek) {
            ::KillTimer(m_hWnd, kTimerResumeSeek);
            m_player.seek_to(static_cast<double>(m_fResumePos));
        } else if (wParam == kTimerSkipRow) {
            ::KillTimer(m_hWnd, kTimerSkipRow);
            PlayNextPlayable();
        }
        break;
    case WM_SIZE:
        // Restarting the one-shot timer turns a burst of size changes into one fit.
        ::SetTimer(m_hWnd, kTimerFitVideo, kFitDelayMs, nullptr);
        break;
    case WM_LBUTTONDOWN: {
        const HWND hwnd = m_hWnd;
        const LRESULT result = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
        // Only a press that caught the seek thumb holds the slider against polling.
        if (::IsWindow(hwnd))
            NoteSeekThumbPressed(m_pPlaySlider);
        return result;
    }
    case WM_LBUTTONUP:
        // Before the library sees the release, so a seek in progress ends with it.
        m_bSeeking = 0;
        break;
    case WM_MOUSEMOVE:
        FollowSeekPreview(m_seekPreview, m_hWnd, m_pPlaySlider, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_MOUSELEAVE:
        m_seekPreview.Hide();
        break;
    case WM_DROPFILES:
        DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_COPYDATA:
        return ReceiveForwardedPaths(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case kMsgPathsListed:
        AddFinishedListings();
        return 0;
    case WM_CLOSE:
        // From another program, possibly while an engine call waits and runs sent
        // messages: destroying the window then would pull it from under that call.
        SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE || wParam == VK_RETURN) {
            PauseOrResume();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            if (m_pVideoWnd)
                m_pVideoWnd->ToggleFullScreen();
            return 0;
        }
        // A focused list or slider keeps the arrows; the speed keys are ours still.
        if (HandleScreenshotKey(wParam) || SeekSliderKey(m_pPlaySlider, wParam) ||
            (FocusTakesArrows() ? HandleSpeedKey(wParam) : HandlePlaybackKey(wParam)))
            return 0;
        break;
    case WM_MOUSEWHEEL:
        if (SeekSliderWheel(m_pPlaySlider, m_hWnd, wParam, lParam))
            return 0;
        // Over the picture the wheel is the volume; elsewhere the controls have it.
        if (m_pVideoWnd && ::IsWindowVisible(m_pVideoWnd->GetHWND())) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT picture;
            ::GetWindowRect(m_pVideoWnd->GetHWND(), &picture);
            if (::PtInRect(&picture, at)) {
                WheelVolume(GET_WHEEL_DELTA_WPARAM(wParam));
                return 0;
            }
        }
        break;
    default:
        break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMainFrame::Notify(TNotifyUI& msg) {
    // The precision keeps an overlong type inside the buffer; swprintf_s would
    // otherwise reject it as an invalid parameter (an empty line, or the end of
    // the process where the runtime's handler aborts).
    wchar_t line[256];
    swprintf_s(line, _countof(line), L"msg  %.247s \r\n", msg.sType.GetData());
    ::OutputDebugStringW(line);

    if (msg.sType == DUI_MSGTYPE_CLICK) {
        OnClick(msg);
    } else if (msg.sType == DUI_MSGTYPE_SELECTCHANGED || msg.sType == DUI_MSGTYPE_ITEMCLICK) {
        // Recognised, and deliberately left alone.
    } else if (msg.sType == DUI_MSGTYPE_ITEMDBCLICK) {
        PlaySelected();
    } else if (msg.sType == DUI_MSGTYPE_VALUECHANGED) {
        if (m_pVolumeSlider && msg.pSender == m_pVolumeSlider)
            SetVolumeFromSlider();
        else if (m_pPlaySlider && msg.pSender == m_pPlaySlider)
            SeekFromSlider();
    }
}

void CMainFrame::OnClick(TNotifyUI& msg) {
    if (!msg.pSender)
        return;
    const CDuiString& name = msg.pSender->GetName();
    // The window buttons go through WM_SYSCOMMAND so OnSysCommand keeps
    // "btn_max" and "btn_restore" in step with the window whatever the source.
    if (name == L"btn_close") {
        SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (name == L"btn_min") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == L"btn_max") {
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == L"btn_restore") {
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    } else if (name == L"btn_setting") {
        ShowSettingsWindow(m_hWnd);
    } else if (name == L"btnadd") {
        AddFiles();
    } else if (name == L"btndelete") {
        DeleteSelected();
    } else if (name == L"btnclear") {
        ClearList();
    } else if (name == L"btn_map_shrink") {
        ToggleListPanel();
    } else if (name == L"btn_stop") {
        StopPlayback();
    } else if (name == L"btn_play") {
        OnPlayCommand();
    } else if (name == L"btn_prev") {
        PlayPrev();
    } else if (name == L"btn_next") {
        PlayNext();
    } else if (name == L"btn_mute") {
        MuteOn();
    } else if (name == L"btn_muteoff") {
        MuteOff();
    } else if (name == L"btn_fullscreen") {
        if (m_pVideoWnd)
            m_pVideoWnd->ToggleFullScreen();
    }
}

} // namespace DuiLib
