#pragma once
// CPlayBarFrame: the control bar along the bottom of the screen in full screen. The
// main window's polling copies its sliders and clock texts into these controls and its
// mute operations swap the bar's mute pair.
#include "duilib/UIlib.h"

namespace DuiLib {

class CPlayBarFrame : public WindowImplBase {
public:
    CSliderUI* m_pSliderVolume = nullptr;   // "slider_volumn"
    CSliderUI* m_pSliderPlay = nullptr;     // "slider_play"
    CControlUI* m_pTxtCurTime = nullptr;    // "txt_curtime"
    CControlUI* m_pTxtTotalTime = nullptr;  // "txt_totaltime"
    CControlUI* m_pBtnMute = nullptr;       // "btn_mute", shown while sound is on
    CControlUI* m_pBtnMuteOff = nullptr;    // "btn_muteoff", shown while muted
};

} // namespace DuiLib
