#pragma once
// A tooltip window its owner places itself: shown with a text at a screen point,
// moved and retold while shown, hidden. Used for control tooltips and for tips that
// follow the pointer.
#include <windows.h>

#include "duilib/UIString.h"

namespace DuiLib {

class CTrackingTip {
public:
    CTrackingTip() = default;
    ~CTrackingTip() { Destroy(); }
    CTrackingTip(const CTrackingTip&) = delete;
    CTrackingTip& operator=(const CTrackingTip&) = delete;

    // Shows text at screen point `at`; area is the owner's client rectangle it belongs
    // to. The window is made on first use, and made anew for another owner. The text
    // is drawn in the default font of the owner's paint manager, when it has one.
    bool Show(HWND owner, LPCTSTR text, POINT at, const RECT& area = RECT{});
    void Hide();
    void Destroy();   // also when its owner is destroyed

    HWND GetHWND() const { return m_hwnd; }
    bool IsShown() const { return m_shown; }
    const CDuiString& GetText() const { return m_text; }

private:
    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
    HFONT m_font = nullptr;   // the owner's manager's; the tip window only borrows it
    bool m_added = false;
    bool m_shown = false;
    CDuiString m_text;   // the tip window reads it while shown
};

} // namespace DuiLib
