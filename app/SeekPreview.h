#pragma once
// The time under the pointer while it is over a seek slider: a small tip that follows
// the pointer, "01:02:05", and goes when the pointer leaves or no file is open.
#include <windows.h>

#include <functional>

#include "duilib/UIlib.h"

namespace DuiLib {

// The tip's text for a slider value of max over a file of duration seconds.
CDuiString SeekPreviewText(int value, int max, double duration);

class CSeekPreview {
public:
    // Pointer at client point `at` of owner: over the slider, asks openDuration for the
    // open file's duration (0 when none is open) and shows the tip; else hides it.
    void Follow(HWND owner, CSliderUI* slider, POINT at, const std::function<double()>& openDuration);
    void Hide() { m_tip.Hide(); }
    bool IsShown() const { return m_tip.IsShown(); }
    const CDuiString& Text() const { return m_tip.GetText(); }
    HWND TipWindow() const { return m_tip.GetHWND(); }

private:
    CTrackingTip m_tip;
};

} // namespace DuiLib
