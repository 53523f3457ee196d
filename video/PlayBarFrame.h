#pragma once
// CPlayBarFrame: the control bar along the bottom of the screen in full screen. It
// holds no playback logic: its buttons run the main window's commands, its sliders
// move the main window's sliders and drive the engine, and the main window's polling
// copies its sliders and clock texts into these controls.
#include "duilib/UIlib.h"
#include "playback/SeekPreview.h"

namespace DuiLib {

class CPlayBarFrame : public WindowImplBase {
public:
    CPlayBarFrame() = default;
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

    CSliderUI* m_pSliderVolume = nullptr;   // "slider_volumn"
    CSliderUI* m_pSliderPlay = nullptr;
    CSeekPreview m_seekPreview;             // over m_pSliderPlay     // "slider_play"
    CControlUI* m_pTxtCurTime = nullptr;    // "txt_curtime"
    CControlUI* m_pTxtTotalTime = nullptr;  // "txt_totaltime"
    CControlUI* m_pBtnMute = nullptr;       // "btn_mute", shown while sound is on
    CControlUI* m_pBtnMuteOff = nullptr;    // "btn_muteoff", shown while muted

private:
    void SetVolumeFromBar();   // main "slider_volumn" follows; engine volume on the main scale
    void SeekFromBar();        // main "slider_play" follows; engine seek to the fraction
    void RecordActivity();     // renews the shown bar's time on the video window
};

} // namespace DuiLib
