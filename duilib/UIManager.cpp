#include "duilib/UIManager.h"
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

// Notifier and filter lists: each listener once, in the order added.
template <typename T>
bool AddOnce(std::vector<T*>& list, T* item) {
    if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveFrom(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

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

UINT CPaintManagerUI::CleanupMessage() {
    static const UINT msg = ::RegisterWindowMessageW(L"DuiLib.DelayedCleanup");
    return msg;
}

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

void CPaintManagerUI::SetFocus(CControlUI* pControl) { MoveFocus(pControl); }

bool CPaintManagerUI::MoveFocus(CControlUI* pControl) {
    if (pControl == m_pFocus) return true;
    if (pControl && (!pControl->IsVisible() || !pControl->IsEnabled() || !pControl->IsKeyboardEnabled())) return true;
    CControlUI* old = m_pFocus;
    m_pFocus = pControl;
    if (old) {
        if (!SendEvent(old, UIEvent::KillFocus)) return false;
        if (m_pFocus == pControl && !SendNotifySurvives(old, DUI_MSGTYPE_KILLFOCUS)) return false;
    }
    if (pControl && m_pFocus == pControl) {
        if (!SendEvent(pControl, UIEvent::SetFocus)) return false;
        if (m_pFocus == pControl) return SendNotifySurvives(pControl, DUI_MSGTYPE_SETFOCUS);
    }
    return true;
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
        ReleaseOwnCapture();
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
        ReleaseOwnCapture();
    }
    if (m_pEventHover && IsInSubtree(m_pEventHover, pControl)) m_pEventHover = nullptr;
    if (m_pFocus && IsInSubtree(m_pFocus, pControl)) m_pFocus = nullptr;
    DropTimers(pControl, true);
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

void CPaintManagerUI::KillTimer(CControlUI* pControl) { DropTimers(pControl, false); }

void CPaintManagerUI::DropTimers(CControlUI* pControl, bool bSubtree) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (bSubtree ? IsInSubtree(it->pSender, pControl) : it->pSender == pControl) {
            if (m_hWndPaint) ::KillTimer(m_hWndPaint, it->nNativeID);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

// ---- Notifications

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) { return AddOnce(m_notifiers, pNotifier); }
bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) { return RemoveFrom(m_notifiers, pNotifier); }

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

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) { return AddOnce(m_filters, pFilter); }
bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) { return RemoveFrom(m_filters, pFilter); }

// ---- Events

bool CPaintManagerUI::SendEvent(CControlUI* pControl, UIEvent type, WPARAM wParam, LPARAM lParam, wchar_t chKey) {
    if (!pControl) return true;
    // The handler may destroy the window and this manager with it: read nothing of it afterwards.
    std::shared_ptr<bool> alive = m_alive;
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
    return *alive;
}

bool CPaintManagerUI::SendNotifySurvives(CControlUI* pControl, LPCTSTR pstrMessage) {
    std::shared_ptr<bool> alive = m_alive;
    SendNotify(pControl, pstrMessage);
    return *alive;
}

void CPaintManagerUI::TrackMouse() {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_HOVER, m_hWndPaint, HOVER_DEFAULT};
    m_bMouseTracking = ::TrackMouseEvent(&tme) != FALSE;
}

bool CPaintManagerUI::SetHot(CControlUI* pControl) {
    if (pControl == m_pEventHover) return true;
    HideTooltip();
    CControlUI* old = m_pEventHover;
    m_pEventHover = pControl;
    if (old && !SendEvent(old, UIEvent::MouseLeave)) return false;
    if (pControl && m_pEventHover == pControl && !SendEvent(pControl, UIEvent::MouseEnter)) return false;
    // Hover fires once per tracking request: ask again for the new control.
    if (m_pEventHover) TrackMouse();
    return true;
}

// Our own release must not read as another window taking the capture.
void CPaintManagerUI::ReleaseOwnCapture() {
    if (!m_hWndPaint || ::GetCapture() != m_hWndPaint) return;
    m_bReleasingCapture = true;
    ::ReleaseCapture();
    m_bReleasingCapture = false;
}

bool CPaintManagerUI::ReleasePressed(bool bDeliverButtonUp, POINT pt) {
    CControlUI* pressed = m_pEventClick;
    ReleaseOwnCapture();
    if (!pressed || m_pEventClick != pressed) return true;
    m_pEventClick = nullptr;
    m_ptLastMousePos = pt;
    return SendEvent(pressed, bDeliverButtonUp ? UIEvent::ButtonUp : UIEvent::CaptureLost, MK_LBUTTON);
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

} // namespace DuiLib
