// Routing of the main window: native messages and timers, and control notifications,
// each to the operation that handles it.
#include "app/MainFrame.h"

#include <windowsx.h>

#include <cwchar>

namespace DuiLib {

LRESULT CMainFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (uMsg) {
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_SIZE:
        // Restarting the one-shot timer turns a burst of size changes into one fit.
        ::SetTimer(m_hWnd, kTimerFitVideo, kFitDelayMs, nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_MOUSEWHEEL:
        if (OnMouseMessage(uMsg, wParam, lParam, result))
            return result;
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
        if (RunKey(wParam, m_pPlaySlider, FocusTakesArrows()))
            return 0;
        break;
    default:
        break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMainFrame::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerPoll:
        UpdateProgress();
        KeepUserState();
        break;
    case kTimerFitVideo:
        ::KillTimer(m_hWnd, kTimerFitVideo);
        FitVideoToPlayRegion();
        break;
    case kTimerResumeSeek:
        ::KillTimer(m_hWnd, kTimerResumeSeek);
        m_player.seek_to(static_cast<double>(m_fResumePos));
        break;
    case kTimerSkipRow:
        ::KillTimer(m_hWnd, kTimerSkipRow);
        PlayNextPlayable();
        break;
    default:
        break;
    }
}

bool CMainFrame::OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (uMsg) {
    case WM_LBUTTONDOWN: {
        const HWND hwnd = m_hWnd;
        result = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
        // Only a press that caught the seek thumb holds the slider against polling.
        if (::IsWindow(hwnd))
            BeginSeek(m_pPlaySlider);
        return true;
    }
    case WM_LBUTTONUP:
        // Before the library sees the release, so a seek in progress ends with it.
        EndSeek();
        return false;
    case WM_MOUSEMOVE:
        FollowSeekPreview(m_seekPreview, m_hWnd, m_pPlaySlider, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return false;
    case WM_MOUSELEAVE:
        m_seekPreview.Hide();
        return false;
    case WM_MOUSEWHEEL:
        return SeekSliderWheel(m_pPlaySlider, m_hWnd, wParam, lParam) || WheelOverPicture(wParam, lParam);
    default:
        return false;
    }
}

bool CMainFrame::WheelOverPicture(WPARAM wParam, LPARAM lParam) {
    // Over the picture the wheel is the volume; elsewhere the controls have it.
    const HWND picture = VideoWindow();
    if (!picture || !::IsWindowVisible(picture))
        return false;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT rc;
    ::GetWindowRect(picture, &rc);
    if (!::PtInRect(&rc, at))
        return false;
    WheelVolume(GET_WHEEL_DELTA_WPARAM(wParam));
    return true;
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
    if (msg.pSender)
        RunCommand(playercmd::CommandOfControl(msg.pSender->GetName().GetData()));
}

} // namespace DuiLib
