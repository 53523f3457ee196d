// The full-screen bar: its skin, its buttons, sliders and keys handed to the main
// window's operations, what the tick shows in it, and the activity that keeps it shown.
#include "video/PlayBarFrame.h"

#include <windowsx.h>
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

namespace {

CSliderUI* FindSlider(CPaintManagerUI& manager, LPCTSTR name) {
    CControlUI* control = manager.FindControl(name);
    return control ? static_cast<CSliderUI*>(control->GetInterface(L"Slider")) : nullptr;
}

// A slider the user is dragging keeps the place the pointer gives it.
void ShowSliderValue(CSliderUI* slider, int value) {
    if (slider && value >= 0 && !slider->IsDragging())
        slider->SetValue(value);
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

void CPlayBarFrame::ShowPlayback(const PlaybackView& view) {
    ShowSliderValue(m_pSliderVolume, view.volume);
    ShowSliderValue(m_pSliderPlay, view.seekPosition);
    if (view.playing && m_pTxtCurTime && m_pTxtTotalTime) {
        m_pTxtCurTime->SetText(view.curTime);
        m_pTxtTotalTime->SetText(view.totalTime);
    }
}

void CPlayBarFrame::ShowMute(bool bMuted) {
    if (m_pBtnMute)
        m_pBtnMute->SetVisible(!bMuted);
    if (m_pBtnMuteOff)
        m_pBtnMuteOff->SetVisible(bMuted);
}

void CPlayBarFrame::Notify(TNotifyUI& msg) {
    CMainFrame* main = g_pMainFrame;
    if (!main)
        return;
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        OnClick(msg);
    } else if (msg.sType == DUI_MSGTYPE_VALUECHANGED) {
        // Reported when the thumb is let go; the sliders share the main window's scale.
        if (m_pSliderVolume && msg.pSender == m_pSliderVolume)
            main->SetVolume(m_pSliderVolume->GetValue(), m_pSliderVolume->GetMaxValue());
        else if (m_pSliderPlay && msg.pSender == m_pSliderPlay)
            main->SeekToSliderValue(m_pSliderPlay->GetValue(), m_pSliderPlay->GetMaxValue());
    }
}

void CPlayBarFrame::OnClick(TNotifyUI& msg) {
    if (g_pMainFrame && msg.pSender)
        g_pMainFrame->RunCommand(playercmd::CommandOfControl(msg.pSender->GetName().GetData()));
}

void CPlayBarFrame::RecordActivity() {
    if (m_pOwner && m_pOwner->m_bPlayBarShown)
        m_pOwner->m_dwLastActivity = ::GetTickCount();
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
    CMainFrame* main = g_pMainFrame;
    // A click on the bar gives it the keyboard; its keys stay the picture's keys, and on
    // the focused seek slider the arrows, like the wheel over it, seek.
    if (main && ((uMsg == WM_KEYDOWN && main->RunKey(wParam, m_pSliderPlay, false)) ||
                 (uMsg == WM_MOUSEWHEEL && main->SeekSliderWheel(m_pSliderPlay, m_hWnd, wParam, lParam))))
        return 0;
    if (uMsg == WM_MOUSELEAVE)
        m_seekPreview.Hide();
    const LRESULT result = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    // The main window's press and release never come while the picture covers it: a
    // press that caught the thumb holds the progress, any release here lets it go.
    if (main && uMsg == WM_LBUTTONDOWN)
        main->BeginSeek(m_pSliderPlay);
    if (main && uMsg == WM_LBUTTONUP)
        main->EndSeek();
    return result;
}

} // namespace DuiLib
