// The paint manager's window messages: painting, mouse, keys and the window's end.
// Any event or notification may destroy the window; every step that sends one reports
// whether the window survived, and a handler returns true at once when it did not.
#include "duilib/UIManager.h"
#include <windowsx.h>
#include "duilib/UIControl.h"

namespace DuiLib {

namespace {

POINT ClientPoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

} // namespace

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    lRes = 0;
    if (!m_hWndPaint) return false;
    if (RunFilters(uMsg, wParam, lParam, lRes)) return true;
    if (uMsg == CleanupMessage()) {
        RunDelayedCleanup();
        return true;
    }
    switch (uMsg) {
    case WM_ERASEBKGND:
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_SIZE:
        return OnPaintMessage(uMsg, wParam, lRes);
    case WM_TIMER:
        return OnTimer(wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        return OnKeyMessage(uMsg, wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam, lRes);
    case WM_KILLFOCUS:
    case WM_DESTROY:
    case WM_NCDESTROY:
        return OnWindowMessage(uMsg);
    default:
        return OnMouseMessage(uMsg, wParam, lParam);
    }
}

// True when a filter handled the message or took the window down with it.
bool CPaintManagerUI::RunFilters(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    std::shared_ptr<bool> alive = m_alive;
    const std::vector<IMessageFilterUI*> filters = m_filters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        const LRESULT r = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (!*alive) return true;
        if (handled) {
            lRes = r;
            return true;
        }
    }
    return false;
}

// ---- Painting

bool CPaintManagerUI::OnPaintMessage(UINT uMsg, WPARAM wParam, LRESULT& lRes) {
    switch (uMsg) {
    case WM_ERASEBKGND:
        lRes = 1;   // the back buffer covers everything
        return true;
    case WM_PRINTCLIENT:
        if (wParam) PaintTo(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_SIZE:
        if (m_pRoot && wParam != SIZE_MINIMIZED) {
            m_bUpdateNeeded = true;
            UpdateLayout();
        }
        return false;
    default:
        break;
    }
    UpdateLayout();
    if (m_pRoot && !m_bWindowInitSent) {
        m_bWindowInitSent = true;
        if (!SendNotifySurvives(m_pRoot, DUI_MSGTYPE_WINDOWINIT)) return true;
        UpdateLayout();
    }
    PAINTSTRUCT ps{};
    HDC hdc = ::BeginPaint(m_hWndPaint, &ps);
    m_bRepaintPending = false;   // BeginPaint validated the window
    if (hdc) Paint(hdc, ps.rcPaint);
    ::EndPaint(m_hWndPaint, &ps);
    return true;
}

bool CPaintManagerUI::OnTimer(WPARAM wParam, LPARAM lParam) {
    for (const TimerInfo& t : m_timers) {
        if (t.nNativeID == wParam) {
            const TimerInfo fired = t;
            SendEvent(fired.pSender, UIEvent::Timer, fired.nLocalID, lParam);
            return true;
        }
    }
    return false;
}

// ---- Mouse

bool CPaintManagerUI::OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_MOUSELEAVE:
        m_bMouseTracking = false;
        HideTooltip();
        return !SetHot(nullptr);
    case WM_MOUSEHOVER:
        return OnMouseHover(wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return OnButtonPress(uMsg, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLeftButtonUp(lParam);
    case WM_CAPTURECHANGED:
        if (!m_bReleasingCapture && m_pEventClick && reinterpret_cast<HWND>(lParam) != m_hWndPaint)
            return !ReleasePressed(false, m_ptLastMousePos);
        return false;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        return OnScreenPointMessage(uMsg, wParam, lParam);
    default:
        return false;
    }
}

bool CPaintManagerUI::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const POINT pt = ClientPoint(lParam);
    m_ptLastMousePos = pt;
    if (!m_bMouseTracking) TrackMouse();
    if (m_pEventClick) {
        SendEvent(m_pEventClick, UIEvent::MouseMove, wParam, lParam);
        return false;
    }
    CControlUI* control = FindControl(pt);
    if (control != m_pEventHover && !SetHot(control)) return true;
    if (control && control == m_pEventHover) return !SendEvent(control, UIEvent::MouseMove, wParam, lParam);
    return false;
}

bool CPaintManagerUI::OnMouseHover(WPARAM wParam, LPARAM lParam) {
    CControlUI* control = FindControl(ClientPoint(lParam));
    if (control && control == m_pEventHover && !m_pEventClick) {
        if (!SendEvent(control, UIEvent::MouseHover, wParam, lParam)) return true;
        if (m_pEventHover == control) ShowTooltip(control);
    }
    return true;
}

// A left press captures the mouse for the control under it; a right press or release
// only reaches it. Presses bring the keys to this window and to the control.
bool CPaintManagerUI::OnButtonPress(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const POINT pt = ClientPoint(lParam);
    m_ptLastMousePos = pt;
    const bool left = uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONDBLCLK;
    const bool press = uMsg != WM_RBUTTONUP;
    if (press && !TakeWindowFocus()) return true;
    if (left) HideTooltip();
    CControlUI* control = FindControl(pt);
    if (!control || !control->IsEnabled()) return false;
    if (press && control->IsKeyboardEnabled() && !MoveFocus(control)) return true;
    if (!left) {
        // Not handled after a release: the default procedure turns it into WM_CONTEXTMENU.
        return !SendEvent(control, uMsg == WM_RBUTTONDOWN ? UIEvent::RButtonDown : UIEvent::RButtonUp, wParam, lParam);
    }
    m_pEventClick = control;
    ::SetCapture(m_hWndPaint);
    if (m_pEventClick != control) return false;
    return !SendEvent(control, uMsg == WM_LBUTTONDOWN ? UIEvent::ButtonDown : UIEvent::DblClick, wParam, lParam);
}

bool CPaintManagerUI::OnLeftButtonUp(LPARAM lParam) {
    const POINT pt = ClientPoint(lParam);
    m_ptLastMousePos = pt;
    if (!ReleasePressed(true, pt)) return true;
    // The pointer may have crossed controls while the button was held.
    return !SetHot(FindControl(pt));
}

// The context menu and the wheel carry screen coordinates.
bool CPaintManagerUI::OnScreenPointMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    POINT pt = ClientPoint(lParam);
    CControlUI* control = nullptr;
    if (uMsg == WM_CONTEXTMENU && pt.x == -1 && pt.y == -1) {
        control = m_pFocus;   // from the keyboard
    } else {
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        control = FindControl(pt);
    }
    if (!control) return false;
    if (uMsg == WM_CONTEXTMENU) {
        SendEvent(control, UIEvent::ContextMenu, wParam, lParam);
    } else {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        SendEvent(control, UIEvent::ScrollWheel, delta > 0 ? SB_LINEUP : SB_LINEDOWN, delta);
    }
    return true;   // the wheel is not passed on to the parent window
}

bool CPaintManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* control = m_pEventClick ? m_pEventClick : FindControl(pt);
    if (!control) return false;
    SendEvent(control, UIEvent::SetCursor, wParam, lParam);
    lRes = TRUE;
    return true;
}

bool CPaintManagerUI::TakeWindowFocus() {
    if (::GetFocus() == m_hWndPaint) return true;
    std::shared_ptr<bool> alive = m_alive;
    ::SetFocus(m_hWndPaint);   // the window losing the keys may close this one
    return *alive;
}

// ---- Keys and the window's end

bool CPaintManagerUI::OnKeyMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (!m_pFocus) return false;
    const UIEvent type = uMsg == WM_CHAR ? UIEvent::Char
                         : (uMsg == WM_KEYDOWN || uMsg == WM_SYSKEYDOWN) ? UIEvent::KeyDown : UIEvent::KeyUp;
    return !SendEvent(m_pFocus, type, wParam, lParam, static_cast<wchar_t>(wParam));
}

bool CPaintManagerUI::OnWindowMessage(UINT uMsg) {
    if (uMsg != WM_NCDESTROY) HideTooltip();
    if (uMsg == WM_DESTROY) {
        for (const TimerInfo& t : m_timers) ::KillTimer(m_hWndPaint, t.nNativeID);
        m_timers.clear();
        m_tooltip.Destroy();
    } else if (uMsg == WM_NCDESTROY) {
        m_hWndPaint = nullptr;
        m_pEventClick = nullptr;
        m_pEventHover = nullptr;
        m_bMouseTracking = false;
        // Nothing will be posted to a dead window: clean up now.
        RunDelayedCleanup();
    }
    return false;
}

} // namespace DuiLib
