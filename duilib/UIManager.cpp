#include "duilib/UIManager.h"
#include <windowsx.h>
#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include "duilib/UIControl.h"

namespace DuiLib {

struct CPaintManagerUI::FontInfo {
    HFONT hFont = nullptr;
    explicit FontInfo(HFONT h) : hFont(h) {}
    ~FontInfo() {
        if (hFont) ::DeleteObject(hFont);
    }
    FontInfo(const FontInfo&) = delete;
    FontInfo& operator=(const FontInfo&) = delete;
};

namespace {

HINSTANCE g_hInstance = nullptr;
std::vector<CPaintManagerUI*> g_managers;

// Posted to run the destruction of removed controls after the current message.
UINT CleanupMessage() {
    static const UINT msg = ::RegisterWindowMessageW(L"DuiLib.DelayedCleanup");
    return msg;
}

HFONT MakeFont(LPCTSTR face, int size, bool bold, bool underline, bool italic) {
    LOGFONTW lf{};
    lf.lfHeight = -size;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    if (face) wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&lf);
}

CControlUI* FindByName(CControlUI* control, void* data) {
    return control->GetName() == static_cast<const wchar_t*>(data) ? control : nullptr;
}

CControlUI* FindAny(CControlUI* control, void*) { return control; }

} // namespace

CPaintManagerUI::CPaintManagerUI() { g_managers.push_back(this); }

CPaintManagerUI::~CPaintManagerUI() {
    m_bDestroying = true;
    *m_alive = false;
    for (const TimerInfo& t : m_timers) {
        if (m_hWndPaint) ::KillTimer(m_hWndPaint, t.nNativeID);
    }
    m_timers.clear();
    delete m_pRoot;
    m_pRoot = nullptr;
    for (CControlUI* c : m_delayedCleanup) delete c;
    m_delayedCleanup.clear();
    m_tooltip.Destroy();
    g_managers.erase(std::remove(g_managers.begin(), g_managers.end(), this), g_managers.end());
}

// ---- Process

void CPaintManagerUI::SetInstance(HINSTANCE hInst) { g_hInstance = hInst; }

HINSTANCE CPaintManagerUI::GetInstance() { return g_hInstance ? g_hInstance : ::GetModuleHandleW(nullptr); }

int CPaintManagerUI::MessageLoop() {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        if (!TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool CPaintManagerUI::TranslateMessage(const MSG* pMsg) {
    if (!pMsg || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return false;
    // Keys for a native child (not itself skinned) of a skinned window pass that
    // window's filters first; skinned windows see their own keys in their procedure.
    if (FromWindow(pMsg->hwnd)) return false;
    for (HWND parent = ::GetParent(pMsg->hwnd); parent; parent = ::GetParent(parent)) {
        CPaintManagerUI* manager = FromWindow(parent);
        if (!manager) continue;
        std::vector<IMessageFilterUI*> filters = manager->m_filters;
        for (IMessageFilterUI* filter : filters) {
            bool handled = false;
            filter->MessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, handled);
            if (handled) return true;
        }
        return false;
    }
    return false;
}

CPaintManagerUI* CPaintManagerUI::FromWindow(HWND hWnd) {
    if (!hWnd) return nullptr;
    for (CPaintManagerUI* m : g_managers) {
        if (m->m_hWndPaint == hWnd) return m;
    }
    return nullptr;
}

// ---- Window

void CPaintManagerUI::Init(HWND hWnd) {
    m_hWndPaint = hWnd;
    m_bUpdateNeeded = true;
    m_bRepaintPending = false;
}

SIZE CPaintManagerUI::GetClientSize() const {
    RECT rc{};
    if (m_hWndPaint) ::GetClientRect(m_hWndPaint, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// ---- Fonts

int CPaintManagerUI::AddFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) {
    if (nSize <= 0) nSize = 12;
    HFONT font = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (!font) font = MakeFont(L"Tahoma", nSize, bBold, bUnderline, bItalic);
    m_fonts.push_back(std::make_unique<FontInfo>(font));
    return static_cast<int>(m_fonts.size()) - 1;
}

void CPaintManagerUI::SetDefaultFont(int index) {
    if (index >= 0 && index < GetFontCount()) m_iDefaultFont = index;
}

HFONT CPaintManagerUI::GetFont(int index) {
    if (index >= 0 && index < GetFontCount() && m_fonts[static_cast<size_t>(index)]->hFont)
        return m_fonts[static_cast<size_t>(index)]->hFont;
    return GetDefaultFont();
}

HFONT CPaintManagerUI::GetDefaultFont() {
    if (m_iDefaultFont >= 0 && m_iDefaultFont < GetFontCount()) return m_fonts[static_cast<size_t>(m_iDefaultFont)]->hFont;
    if (!m_pDefaultFont) m_pDefaultFont = std::make_unique<FontInfo>(MakeFont(L"微软雅黑", 12, false, false, false));
    return m_pDefaultFont->hFont ? m_pDefaultFont->hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

// ---- Defaults

void CPaintManagerUI::AddDefaultAttributeList(LPCTSTR pStrControlName, LPCTSTR pStrControlAttrList) {
    if (!pStrControlName || !*pStrControlName) return;
    m_defaultAttrs[pStrControlName] = pStrControlAttrList;
}

LPCTSTR CPaintManagerUI::GetDefaultAttributeList(LPCTSTR pStrControlName) const {
    if (!pStrControlName) return nullptr;
    auto it = m_defaultAttrs.find(pStrControlName);
    return it == m_defaultAttrs.end() ? nullptr : it->second.GetData();
}

// ---- Tree

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
    if (!pControl) return false;
    if (m_pRoot && m_pRoot != pControl) {
        CControlUI* old = m_pRoot;
        ForgetControl(old);
        m_pRoot = nullptr;
        delete old;
    }
    m_pRoot = pControl;
    m_bFirstLayout = true;
    m_pRoot->SetManager(this, nullptr, true);
    NeedUpdate();
    return true;
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR pstrName) const {
    if (!m_pRoot || !pstrName) return nullptr;
    return m_pRoot->FindControl(FindByName, const_cast<wchar_t*>(pstrName), UIFIND_ALL | UIFIND_ME_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (!m_pRoot) return nullptr;
    // Hit tests must see the layout as it will be painted.
    const_cast<CPaintManagerUI*>(this)->UpdateLayout();
    return m_pRoot->FindControl(FindAny, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

void CPaintManagerUI::UpdateLayout() {
    if (!m_pRoot || !m_hWndPaint || !m_bUpdateNeeded || m_bLayingOut) return;
    RECT rc{};
    ::GetClientRect(m_hWndPaint, &rc);
    if (::IsRectEmpty(&rc)) return;   // minimised: wait for a real size
    m_bUpdateNeeded = false;
    m_bLayingOut = true;
    m_pRoot->SetPos(rc, false);
    m_bLayingOut = false;
    m_bFirstLayout = false;
    Invalidate();
}

void CPaintManagerUI::NeedUpdate() {
    if (m_bLayingOut) return;   // the running layout already covers it
    m_bUpdateNeeded = true;
    // Controls ask often (every text or size change); one invalidation per paint is enough.
    if (!m_bRepaintPending) Invalidate();
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
    if (!m_hWndPaint || m_bLayingOut || ::IsRectEmpty(&rcItem)) return;
    ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

void CPaintManagerUI::Invalidate() {
    if (!m_hWndPaint) return;
    ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    m_bRepaintPending = true;
}

// ---- Focus, hot, pressed

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
    if (pControl == m_pFocus) return;
    if (pControl && (!pControl->IsVisible() || !pControl->IsEnabled() || !pControl->IsKeyboardEnabled())) return;
    std::shared_ptr<bool> alive = m_alive;
    CControlUI* old = m_pFocus;
    m_pFocus = pControl;
    if (old) {
        SendEvent(old, UIEvent::KillFocus);
        if (!*alive) return;
        if (m_pFocus == pControl) SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
        if (!*alive) return;
    }
    if (pControl && m_pFocus == pControl) {
        SendEvent(pControl, UIEvent::SetFocus);
        if (!*alive) return;
        if (m_pFocus == pControl) SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
    }
}

bool CPaintManagerUI::IsInSubtree(CControlUI* pControl, CControlUI* pRoot) const {
    for (CControlUI* c = pControl; c; c = c->GetParent()) {
        if (c == pRoot) return true;
    }
    return false;
}

void CPaintManagerUI::ReleaseInteraction(CControlUI* pControl) {
    if (m_bDestroying || !pControl) return;
    // The controls live on (only hidden), so they hear that they lost focus and mouse.
    if (m_pTooltipOwner && IsInSubtree(m_pTooltipOwner, pControl)) HideTooltip();
    if (m_pEventClick && IsInSubtree(m_pEventClick, pControl)) {
        CControlUI* pressed = m_pEventClick;
        m_pEventClick = nullptr;
        if (::GetCapture() == m_hWndPaint) {
            m_bReleasingCapture = true;
            ::ReleaseCapture();
            m_bReleasingCapture = false;
        }
        SendEvent(pressed, UIEvent::CaptureLost);
    }
    if (m_pEventHover && IsInSubtree(m_pEventHover, pControl)) {
        CControlUI* hot = m_pEventHover;
        m_pEventHover = nullptr;
        SendEvent(hot, UIEvent::MouseLeave);
    }
    if (m_pFocus && IsInSubtree(m_pFocus, pControl)) {
        CControlUI* focus = m_pFocus;
        m_pFocus = nullptr;
        SendEvent(focus, UIEvent::KillFocus);
    }
}

void CPaintManagerUI::ForgetControl(CControlUI* pControl) {
    if (m_bDestroying || !pControl) return;
    // The control is leaving for good: drop references without talking to it.
    if (m_pTooltipOwner && IsInSubtree(m_pTooltipOwner, pControl)) HideTooltip();
    if (m_pEventClick && IsInSubtree(m_pEventClick, pControl)) {
        m_pEventClick = nullptr;
        if (m_hWndPaint && ::GetCapture() == m_hWndPaint) {
            m_bReleasingCapture = true;
            ::ReleaseCapture();
            m_bReleasingCapture = false;
        }
    }
    if (m_pEventHover && IsInSubtree(m_pEventHover, pControl)) m_pEventHover = nullptr;
    if (m_pFocus && IsInSubtree(m_pFocus, pControl)) m_pFocus = nullptr;
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (IsInSubtree(it->pSender, pControl)) {
            if (m_hWndPaint) ::KillTimer(m_hWndPaint, it->nNativeID);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
    m_delayedCleanup.erase(std::remove(m_delayedCleanup.begin(), m_delayedCleanup.end(), pControl),
                           m_delayedCleanup.end());
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl) {
    if (!pControl) return;
    ForgetControl(pControl);
    pControl->SetManager(this, nullptr, false);
    if (!m_hWndPaint) {
        delete pControl;
        return;
    }
    m_delayedCleanup.push_back(pControl);
    if (!m_bCleanupPosted) m_bCleanupPosted = ::PostMessageW(m_hWndPaint, CleanupMessage(), 0, 0) != FALSE;
}

void CPaintManagerUI::RunDelayedCleanup() {
    m_bCleanupPosted = false;
    std::vector<CControlUI*> doomed;
    doomed.swap(m_delayedCleanup);
    for (CControlUI* c : doomed) delete c;
}

// ---- Timers

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
    if (!pControl || !m_hWndPaint) return false;
    for (const TimerInfo& t : m_timers) {
        if (t.pSender == pControl && t.nLocalID == nTimerID) return ::SetTimer(m_hWndPaint, t.nNativeID, uElapse, nullptr) != 0;
    }
    const UINT_PTR native = m_nNextTimerID++;
    if (!::SetTimer(m_hWndPaint, native, uElapse, nullptr)) return false;
    m_timers.push_back({pControl, nTimerID, native});
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->pSender == pControl && it->nLocalID == nTimerID) {
            if (m_hWndPaint) ::KillTimer(m_hWndPaint, it->nNativeID);
            m_timers.erase(it);
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->pSender == pControl) {
            if (m_hWndPaint) ::KillTimer(m_hWndPaint, it->nNativeID);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

// ---- Notifications

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) {
    if (!pNotifier || std::find(m_notifiers.begin(), m_notifiers.end(), pNotifier) != m_notifiers.end()) return false;
    m_notifiers.push_back(pNotifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) {
    auto it = std::find(m_notifiers.begin(), m_notifiers.end(), pNotifier);
    if (it == m_notifiers.end()) return false;
    m_notifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam, LPARAM lParam) {
    TNotifyUI msg;
    msg.sType = pstrMessage;
    msg.pSender = pControl;
    msg.dwTimestamp = ::GetTickCount();
    msg.ptMouse = m_ptLastMousePos;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg) {
    std::shared_ptr<bool> alive = m_alive;
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* n : notifiers) {
        // A notifier may remove another, or destroy the whole window.
        if (!*alive) return;
        if (std::find(m_notifiers.begin(), m_notifiers.end(), n) == m_notifiers.end()) continue;
        n->Notify(msg);
    }
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
    if (!pFilter || std::find(m_filters.begin(), m_filters.end(), pFilter) != m_filters.end()) return false;
    m_filters.push_back(pFilter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
    auto it = std::find(m_filters.begin(), m_filters.end(), pFilter);
    if (it == m_filters.end()) return false;
    m_filters.erase(it);
    return true;
}

// ---- Events

void CPaintManagerUI::SendEvent(CControlUI* pControl, UIEvent type, WPARAM wParam, LPARAM lParam, wchar_t chKey) {
    if (!pControl) return;
    TEventUI event;
    event.Type = type;
    event.pSender = pControl;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse = m_ptLastMousePos;
    event.chKey = chKey;
    event.wKeyState = static_cast<WORD>(wParam);
    event.wParam = wParam;
    event.lParam = lParam;
    pControl->DoEvent(event);
}

void CPaintManagerUI::TrackMouse() {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_HOVER, m_hWndPaint, HOVER_DEFAULT};
    m_bMouseTracking = ::TrackMouseEvent(&tme) != FALSE;
}

void CPaintManagerUI::SetHot(CControlUI* pControl) {
    if (pControl == m_pEventHover) return;
    std::shared_ptr<bool> alive = m_alive;
    HideTooltip();
    CControlUI* old = m_pEventHover;
    m_pEventHover = pControl;
    if (old) SendEvent(old, UIEvent::MouseLeave);
    if (!*alive) return;
    if (pControl && m_pEventHover == pControl) SendEvent(pControl, UIEvent::MouseEnter);
    if (!*alive) return;
    // Hover fires once per tracking request: ask again for the new control.
    if (m_pEventHover) TrackMouse();
}

void CPaintManagerUI::ReleasePressed(bool bDeliverButtonUp, POINT pt) {
    CControlUI* pressed = m_pEventClick;
    if (m_hWndPaint && ::GetCapture() == m_hWndPaint) {
        m_bReleasingCapture = true;
        ::ReleaseCapture();
        m_bReleasingCapture = false;
    }
    if (!pressed || m_pEventClick != pressed) return;
    m_pEventClick = nullptr;
    m_ptLastMousePos = pt;
    SendEvent(pressed, bDeliverButtonUp ? UIEvent::ButtonUp : UIEvent::CaptureLost, MK_LBUTTON);
}

void CPaintManagerUI::ShowTooltip(CControlUI* pControl) {
    if (!pControl || pControl->GetToolTip().IsEmpty() || !m_hWndPaint) return;
    POINT at{};
    ::GetCursorPos(&at);
    if (m_tooltip.Show(m_hWndPaint, pControl->GetToolTip().GetData(), {at.x + 2, at.y + 20}, pControl->GetPos()))
        m_pTooltipOwner = pControl;
}

void CPaintManagerUI::HideTooltip() {
    if (!m_pTooltipOwner) return;
    m_pTooltipOwner = nullptr;
    m_tooltip.Hide();
}

// ---- Painting

void CPaintManagerUI::Paint(HDC hdc, const RECT& rcPaint) {
    const SIZE client = GetClientSize();
    if (client.cx <= 0 || client.cy <= 0 || !m_canvas.Resize(client.cx, client.cy)) return;
    RECT rc;
    const RECT all{0, 0, client.cx, client.cy};
    if (!::IntersectRect(&rc, &rcPaint, &all)) return;
    // Start from opaque black so uncovered pixels never show old frames.
    for (LONG y = rc.top; y < rc.bottom; ++y) {
        uint32_t* row = m_canvas.Bits() + static_cast<size_t>(y) * static_cast<size_t>(m_canvas.Width());
        std::fill(row + rc.left, row + rc.right, 0xFF000000u);
    }
    const RECT saved = m_canvas.PushClip(rc);
    if (m_pRoot) m_pRoot->DoPaint(m_canvas, rc);
    m_canvas.RestoreClip(saved);
    ::BitBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_canvas.GetDC(), rc.left, rc.top, SRCCOPY);
}

void CPaintManagerUI::PaintTo(HDC hdc) {
    UpdateLayout();
    const SIZE client = GetClientSize();
    Paint(hdc, {0, 0, client.cx, client.cy});
}

// ---- Messages

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    lRes = 0;
    if (!m_hWndPaint) return false;
    std::shared_ptr<bool> alive = m_alive;
    {
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
    }
    if (uMsg == CleanupMessage()) {
        RunDelayedCleanup();
        return true;
    }

    switch (uMsg) {
    case WM_ERASEBKGND:
        lRes = 1;   // the back buffer covers everything
        return true;
    case WM_PAINT: {
        UpdateLayout();
        if (m_pRoot && !m_bWindowInitSent) {
            m_bWindowInitSent = true;
            SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
            if (!*alive) return true;
            UpdateLayout();
        }
        PAINTSTRUCT ps{};
        HDC hdc = ::BeginPaint(m_hWndPaint, &ps);
        m_bRepaintPending = false;   // BeginPaint validated the window
        if (hdc) Paint(hdc, ps.rcPaint);
        ::EndPaint(m_hWndPaint, &ps);
        return true;
    }
    case WM_PRINTCLIENT:
        if (wParam) PaintTo(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_SIZE:
        if (m_pRoot && wParam != SIZE_MINIMIZED) {
            m_bUpdateNeeded = true;
            UpdateLayout();
        }
        return false;
    case WM_TIMER:
        for (const TimerInfo& t : m_timers) {
            if (t.nNativeID == wParam) {
                const TimerInfo fired = t;
                SendEvent(fired.pSender, UIEvent::Timer, fired.nLocalID, lParam);
                return true;
            }
        }
        return false;
    case WM_MOUSEMOVE: {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_ptLastMousePos = pt;
        if (!m_bMouseTracking) TrackMouse();
        if (m_pEventClick) {
            SendEvent(m_pEventClick, UIEvent::MouseMove, wParam, lParam);
            return false;
        }
        CControlUI* control = FindControl(pt);
        if (control != m_pEventHover) {
            SetHot(control);
            if (!*alive) return true;
        }
        if (control && control == m_pEventHover) SendEvent(control, UIEvent::MouseMove, wParam, lParam);
        if (!*alive) return true;
        return false;
    }
    case WM_MOUSELEAVE:
        m_bMouseTracking = false;
        HideTooltip();
        SetHot(nullptr);
        return !*alive;
    case WM_MOUSEHOVER: {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        CControlUI* control = FindControl(pt);
        if (control && control == m_pEventHover && !m_pEventClick) {
            SendEvent(control, UIEvent::MouseHover, wParam, lParam);
            if (!*alive) return true;
            if (m_pEventHover == control) ShowTooltip(control);
        }
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_ptLastMousePos = pt;
        // Keys follow the click into this window.
        if (::GetFocus() != m_hWndPaint) ::SetFocus(m_hWndPaint);
        if (!*alive) return true;
        HideTooltip();
        CControlUI* control = FindControl(pt);
        if (!control || !control->IsEnabled()) return false;
        if (control->IsKeyboardEnabled()) SetFocus(control);
        if (!*alive) return true;
        m_pEventClick = control;
        ::SetCapture(m_hWndPaint);
        if (m_pEventClick == control)
            SendEvent(control, uMsg == WM_LBUTTONDOWN ? UIEvent::ButtonDown : UIEvent::DblClick, wParam, lParam);
        return !*alive;
    }
    case WM_LBUTTONUP: {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_ptLastMousePos = pt;
        ReleasePressed(true, pt);
        if (!*alive) return true;
        // The pointer may have crossed controls while the button was held.
        SetHot(FindControl(pt));
        return !*alive;
    }
    case WM_CAPTURECHANGED:
        if (!m_bReleasingCapture && m_pEventClick && reinterpret_cast<HWND>(lParam) != m_hWndPaint) {
            ReleasePressed(false, m_ptLastMousePos);
            if (!*alive) return true;
        }
        return false;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_ptLastMousePos = pt;
        if (uMsg == WM_RBUTTONDOWN && ::GetFocus() != m_hWndPaint) ::SetFocus(m_hWndPaint);
        if (!*alive) return true;
        CControlUI* control = FindControl(pt);
        if (!control || !control->IsEnabled()) return false;
        if (uMsg == WM_RBUTTONDOWN && control->IsKeyboardEnabled()) SetFocus(control);
        if (!*alive) return true;
        SendEvent(control, uMsg == WM_RBUTTONDOWN ? UIEvent::RButtonDown : UIEvent::RButtonUp, wParam, lParam);
        return !*alive;   // the default procedure turns the release into WM_CONTEXTMENU
    }
    case WM_CONTEXTMENU: {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        CControlUI* control = nullptr;
        if (pt.x == -1 && pt.y == -1) {
            control = m_pFocus;   // from the keyboard
        } else {
            ::ScreenToClient(m_hWndPaint, &pt);
            m_ptLastMousePos = pt;
            control = FindControl(pt);
        }
        if (!control) return false;
        SendEvent(control, UIEvent::ContextMenu, wParam, lParam);
        return true;
    }
    case WM_MOUSEWHEEL: {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        CControlUI* control = FindControl(pt);
        if (!control) return false;
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        SendEvent(control, UIEvent::ScrollWheel, delta > 0 ? SB_LINEUP : SB_LINEDOWN, delta);
        return true;   // not passed on to the parent window
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        if (m_pFocus) {
            const UIEvent type = uMsg == WM_CHAR ? UIEvent::Char
                                 : (uMsg == WM_KEYDOWN || uMsg == WM_SYSKEYDOWN) ? UIEvent::KeyDown : UIEvent::KeyUp;
            SendEvent(m_pFocus, type, wParam, lParam, static_cast<wchar_t>(wParam));
            if (!*alive) return true;
        }
        return false;
    case WM_SETCURSOR: {
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
    case WM_KILLFOCUS:
        HideTooltip();
        return false;
    case WM_DESTROY:
        HideTooltip();
        for (const TimerInfo& t : m_timers) ::KillTimer(m_hWndPaint, t.nNativeID);
        m_timers.clear();
        m_tooltip.Destroy();
        return false;
    case WM_NCDESTROY:
        m_hWndPaint = nullptr;
        m_pEventClick = nullptr;
        m_pEventHover = nullptr;
        m_bMouseTracking = false;
        // Nothing will be posted to a dead window: clean up now.
        RunDelayedCleanup();
        return false;
    default:
        return false;
    }
}

} // namespace DuiLib
