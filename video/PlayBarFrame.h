#pragma once
// CPlayBarFrame: the control bar along the bottom of the screen in full screen. It
// holds no playback logic: its buttons, sliders and keys run the main window's
// operations, and the main window's tick shows playback in it.
#include "app/PlaybackView.h"
#include "app/SeekPreview.h"
#include "duilib/UIlib.h"

namespace DuiLib {

class CVideoRealWnd;

class CPlayBarFrame : public WindowImplBase {
public:
    // owner: the full-screen picture the bar lies on, told of activity on the bar.
    explicit CPlayBarFrame(CVideoRealWnd* owner = nullptr) : m_pOwner(owner) {}
    ~CPlayBarFrame() override = default;

    LPCTSTR GetWindowClassName() const override;     // "PlayerBarWnd"
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;                      // finds the six controls below
    void OnClick(TNotifyUI& msg) override;           // the main window's commands by button name
    CDuiString GetSkinFolder() override;             // ""
    CDuiString GetSkinFile() override;               // "PlaybarFrame.xml"
    UINT GetResourceType() override;                 // zipped skin in a resource
    UINT GetResourceID() override;                   // 131
    // Presses, releases and movements over the shown bar keep it up.
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void Notify(TNotifyUI& msg) override;            // clicks and the two sliders

    // What the main window's tick shows; a slider the user drags keeps its place.
    void ShowPlayback(const PlaybackView& view);
    void ShowMute(bool bMuted);                      // the mute pair as the engine reports

    CSliderUI* m_pSliderVolume = nullptr;   // "slider_volumn"
    CSliderUI* m_pSliderPlay = nullptr;     // "slider_play"
    CSeekPreview m_seekPreview;             // over m_pSliderPlay
    CControlUI* m_pTxtCurTime = nullptr;    // "txt_curtime"
    CControlUI* m_pTxtTotalTime = nullptr;  // "txt_totaltime"
    CControlUI* m_pBtnMute = nullptr;       // "btn_mute", shown while sound is on
    CControlUI* m_pBtnMuteOff = nullptr;    // "btn_muteoff", shown while muted

private:
    void RecordActivity();     // renews the shown bar's time on the picture

    CVideoRealWnd* m_pOwner;
};

} // namespace DuiLib
