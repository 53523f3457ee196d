#include "duilib/WindowImplBase.h"
#include <windowsx.h>
#include "duilib/UIBuilder.h"
#include "duilib/UIControl.h"
#include "duilib/UIResource.h"

namespace DuiLib {

namespace {

bool IsChildWindow(HWND hWnd) { return (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) != 0; }

// What a hook answers when it leaves the message to the paint manager and the default.
LRESULT NotHandled(BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

// Plain areas of the caption band drag the window; anything interactive does not.
bool IsDragArea(CControlUI* control) {
    if (!control) return true;
    static const wchar_t* const kPlain[] = {L"ControlUI",          L"LabelUI",           L"ContainerUI",
                                            L"VerticalLayoutUI",   L"HorizontalLayoutUI", L"TabLayoutUI"};
    for (const wchar_t* name : kPlain) {
        if (_wcsicmp(control->GetClass(), name) == 0) return true;
    }
    return false;
}

} // namespace

WindowImplBase::~WindowImplBase() {
    // The tree dies with m_PaintManager; no message may reach us half destroyed.
    DetachWindow();
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lRes = 0;
    BOOL bHandled = TRUE;
    switch (uMsg) {
    case WM_CREATE: lRes = OnCreate(uMsg, wParam, lParam, bHandled); break;
    case WM_CLOSE: lRes = OnClose(uMsg, wParam, lParam, bHandled); break;
    case WM_DESTROY: lRes = OnDestroy(uMsg, wParam, lParam, bHandled); break;
    case WM_NCACTIVATE: lRes = OnNcActivate(uMsg, wParam, lParam, bHandled); break;
    case WM_NCCALCSIZE: lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled); break;
    case WM_NCPAINT: lRes = OnNcPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_NCHITTEST: lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled); break;
    case WM_GETMINMAXINFO: lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEWHEEL: lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEHOVER: lRes = OnMouseHover(uMsg, wParam, lParam, bHandled); break;
    case WM_SIZE: lRes = OnSize(uMsg, wParam, lParam, bHandled); break;
    case WM_CHAR: lRes = OnChar(uMsg, wParam, lParam, bHandled); break;
    case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
    case WM_KEYDOWN: lRes = OnKeyDown(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONDOWN: lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONUP: lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEMOVE: lRes = OnMouseMove(uMsg, wParam, lParam, bHandled); break;
    default: bHandled = FALSE; break;
    }
    if (bHandled) return lRes;

    bHandled = FALSE;
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) return lRes;
    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void WindowImplBase::OnFinalMessage(HWND) {
    m_PaintManager.RemoveNotifier(this);
    m_PaintManager.RemoveMessageFilter(this);
}

void WindowImplBase::InitWindow() {}

void WindowImplBase::OnClick(TNotifyUI&) {}

CDuiString WindowImplBase::GetSkinFolder() { return CDuiString(); }

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM) { return FALSE; }

UINT WindowImplBase::GetResourceType() { return UILIB_FILE; }

LPCTSTR WindowImplBase::GetZIPFileName() { return L""; }

UINT WindowImplBase::GetResourceID() { return 0; }

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // The default would paint a system frame over our client area.
    if (IsChildWindow(m_hWnd) || ::IsIconic(m_hWnd)) bHandled = FALSE;
    return TRUE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if (IsChildWindow(m_hWnd)) return NotHandled(bHandled);
    // The skin draws the whole window; a maximised one fits the work area, as the
    // system frame it would otherwise hang out of is not there.
    if (wParam && ::IsZoomed(m_hWnd)) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        MONITORINFO mi{};
        mi.cbSize = sizeof(mi);
        if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi)) params->rgrc[0] = mi.rcWork;
    }
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    if (IsChildWindow(m_hWnd)) bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
    if (IsChildWindow(m_hWnd)) return NotHandled(bHandled);
    return HitTestFrame(lParam, IsDragArea);
}

LRESULT WindowImplBase::HitTestFrame(LPARAM lParam, DragTest dragsWindow) const {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    // A maximised window cannot be resized, so it has no border bands.
    if (!::IsZoomed(m_hWnd)) {
        const RECT& box = m_PaintManager.GetSizeBox();
        const bool left = pt.x < rc.left + box.left;
        const bool right = pt.x > rc.right - box.right;
        if (pt.y < rc.top + box.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (pt.y > rc.bottom - box.bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    const RECT& caption = m_PaintManager.GetCaptionRect();
    if (pt.x >= rc.left + caption.left && pt.x < rc.right - caption.right && pt.y >= caption.top && pt.y < caption.bottom) {
        if (dragsWindow(m_PaintManager.FindControl(pt))) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
    if (IsChildWindow(m_hWnd)) return NotHandled(bHandled);
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi)) {
        info->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
        info->ptMaxSize = {mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
    }
    const SIZE minInfo = m_PaintManager.GetMinInfo();
    const SIZE maxInfo = m_PaintManager.GetMaxInfo();
    if (minInfo.cx > 0) info->ptMinTrackSize.x = minInfo.cx;
    if (minInfo.cy > 0) info->ptMinTrackSize.y = minInfo.cy;
    if (maxInfo.cx > 0) info->ptMaxTrackSize.x = maxInfo.cx;
    if (maxInfo.cy > 0) info->ptMaxTrackSize.y = maxInfo.cy;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // The paint manager lays the tree out on WM_SIZE.
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnSysCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        Close();
        return 0;
    }
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = TRUE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, GetStyle());
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_PaintManager.Init(m_hWnd);

    if (GetResourceType() == UILIB_ZIPRESOURCE && !CSkinSource::UseResource(CPaintManagerUI::GetInstance(), GetResourceID()))
        return -1;
    CDialogBuilder builder;
    const CDuiString folder = GetSkinFolder();
    CControlUI* root = builder.Create(GetSkinFile(), GetResourceType(), this, &m_PaintManager, folder);
    if (!root) return -1;   // creation fails; Create answers null

    const SIZE init = m_PaintManager.GetInitSize();
    if (WasCreatedWithDefaultSize() && init.cx > 0 && init.cy > 0) ResizeClient(init.cx, init.cy);
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    m_PaintManager.AddMessageFilter(this);
    // InitWindow may ask controls for their places.
    m_PaintManager.UpdateLayout();
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) { return NotHandled(bHandled); }

LONG WindowImplBase::GetStyle() {
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    // A top-level skinned window draws its own caption.
    if (!(style & WS_CHILD)) style &= ~WS_CAPTION;
    return style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (LoopDispatch(msg)) return;
    if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
}

CControlUI* WindowImplBase::CreateControl(LPCTSTR) { return nullptr; }

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) {
    bHandled = false;
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        const LRESULT answer = ResponseDefaultKeyEvent(wParam);
        if (answer) bHandled = true;
        return answer;
    }
    return 0;
}

} // namespace DuiLib
