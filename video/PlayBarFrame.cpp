// The full-screen bar: its skin, its buttons and sliders routed to the main window,
// and the activity that keeps it shown.
#include "video/PlayBarFrame.h"

#include <windowsx.h>
#include "app/MainFrame.h"
#include "playback/PlayerTexts.h"
#include "playback/ProgressMath.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

namespace {

CSliderUI* FindSlider(CPaintManagerUI& manager, LPCTSTR name) {
    CControlUI* control = manager.FindControl(name);
    return control ? static_cast<CSliderUI*>(control->GetInterface(L"Slider")) : nullptr;
}

} // namespace

LPCTSTR CPlayBarFrame::GetWindowClassName() const { return L"PlayerBarWnd"; }
CDuiString CPlayBarFrame::GetSkinFolder() { return L""; }
CDuiString CPlayBarFrame::GetSkinFile() { return L"PlaybarFrame.xml"; }
UINT CPlayBarFrame::GetResourceType() { return UILIB_ZIPRESOURCE; }
UINT CPlayBarFrame::GetResourceID() { return 131; }

void CPlayBarFrame::InitWindow() {
    m_pSliderVolume = FindSlider(m_PaintManager, L"slider_volumn");
    m_pSliderPlay = FindSlider(m_PaintManager, L"slider_play");
    m_pTxtCurTime = m_PaintManager.FindControl(L"txt_curtime");
    m_pTxtTotalTime = m_PaintManager.FindControl(L"txt_totaltime");
    m_pBtnMute = m_PaintManager.FindControl(kCtlMute);
    m_pBtnMuteOff = m_PaintManager.FindControl(kCtlMuteOff);
}

void CPlayBarFrame::Notify(TNotifyUI& msg) {
    if (!g_pMainFrame)
        return;
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        OnClick(msg);
    } else if (msg.sType == DUI_MSGTYPE_VALUECHANGED) {
        if (m_pSliderVolume && msg.pSender == m_pSliderVolume)
            SetVolumeFromBar();
        else if (m_pSliderPlay && msg.pSender == m_pSliderPlay)
            SeekFromBar();
    }
}

void CPlayBarFrame::OnClick(TNotifyUI& msg) {
    if (!g_pMainFrame || !msg.pSender)
        return;
    CMainFrame& main = *g_pMainFrame;
    const CDuiString& name = msg.pSender->GetName();
    if (name == L"btn_stop") {
        main.StopPlayback();
    } else if (name == L"btn_play") {
        main.OnPlayCommand();
    } else if (name == L"btn_prev") {
        main.PlayPrev();
    } else if (name == L"btn_next") {
        main.PlayNext();
    } else if (name == kCtlMute) {
        main.MuteOn();
    } else if (name == kCtlMuteOff) {
        main.MuteOff();
    } else if (name == L"btn_fullscreen") {
        if (main.m_pVideoWnd)
            main.m_pVideoWnd->ToggleFullScreen();
    }
}

void CPlayBarFrame::SetVolumeFromBar() {
    const int max = m_pSliderVolume->GetMaxValue();
    const int value = m_pSliderVolume->GetValue();
    if (g_pMainFrame->m_pVolumeSlider)
        g_pMainFrame->m_pVolumeSlider->SetValue(value);
    if (max == 0)
        return;
    // The main window's scale: both sliders show one volume, so they must mean one.
    const double x = VolumePercent(value, max);
    g_pMainFrame->m_player.volume(x, x);
}

void CPlayBarFrame::SeekFromBar() {
    // Reported when the thumb is let go: the main window's progress follows playback again.
    g_pMainFrame->m_bSeeking = 0;
    const int max = m_pSliderPlay->GetMaxValue();
    const int value = m_pSliderPlay->GetValue();
    if (g_pMainFrame->m_pPlaySlider)
        g_pMainFrame->m_pPlaySlider->SetValue(value);
    if (max == 0)
        return;
    g_pMainFrame->m_player.seek_to(SeekFraction(value, max));
}

void CPlayBarFrame::RecordActivity() {
    if (!g_pMainFrame)
        return;
    CVideoRealWnd* video = g_pMainFrame->m_pVideoWnd;
    if (video && video->m_bPlayBarShown)
        video->m_dwLastActivity = ::GetTickCount();
}

LRESULT CPlayBarFrame::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    RecordActivity();
    return WindowImplBase::OnLButtonDown(uMsg, wParam, lParam, bHandled);
}

LRESULT CPlayBarFrame::OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    RecordActivity();
    return WindowImplBase::OnLButtonUp(uMsg, wParam, lParam, bHandled);
}

LRESULT CPlayBarFrame::OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    RecordActivity();
    if (g_pMainFrame)
        g_pMainFrame->FollowSeekPreview(m_seekPreview, m_hWnd, m_pSliderPlay,
                                        POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return WindowImplBase::OnMouseMove(uMsg, wParam, lParam, bHandled);
}

LRESULT CPlayBarFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // On the focused seek slider the arrows, and over it the wheel, seek as the picture's
    // arrows do; the slider's own step would leave the progress standing.
    if (g_pMainFrame && ((uMsg == WM_KEYDOWN && g_pMainFrame->SeekSliderKey(m_pSliderPlay, wParam)) ||
                         (uMsg == WM_MOUSEWHEEL && g_pMainFrame->SeekSliderWheel(m_pSliderPlay, m_hWnd, wParam, lParam))))
        return 0;
    // A click on the bar gives it the keyboard; its keys stay the picture's keys.
    if (uMsg == WM_KEYDOWN && (wParam == VK_SPACE || wParam == VK_RETURN || wParam == VK_ESCAPE ||
                               wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN ||
                               wParam == VK_OEM_4 || wParam == VK_OEM_6 || wParam == VK_BACK)) {
        if (g_pMainFrame && g_pMainFrame->m_pVideoWnd)
            return ::SendMessageW(g_pMainFrame->m_pVideoWnd->GetHWND(), uMsg, wParam, lParam);
        return 0;
    }
    if (uMsg == WM_MOUSELEAVE)
        m_seekPreview.Hide();
    const LRESULT result = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    // The main window's press and release never come while the picture covers it: a
    // press that caught the thumb holds the progress, any release here lets it go.
    if (g_pMainFrame && uMsg == WM_LBUTTONDOWN)
        g_pMainFrame->NoteSeekThumbPressed(m_pSliderPlay);
    if (g_pMainFrame && uMsg == WM_LBUTTONUP)
        g_pMainFrame->m_bSeeking = 0;
    return result;
}

} // namespace DuiLib
