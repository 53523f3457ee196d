#include "duilib/UIComboDrop.h"
#include <windowsx.h>
#include <algorithm>
#include "duilib/UICombo.h"
#include "duilib/UIListBody.h"

namespace DuiLib {

namespace {

// Most height when the combo's dropboxsize gives none.
constexpr int kDefaultDropHeight = 150;

} // namespace

CComboDropWnd::CComboDropWnd(CComboUI* pOwner) : m_pOwner(pOwner), m_pBody(new CListBodyUI) {
    // The items stay the combo's: the body shows them without owning them.
    m_pBody->SetAutoDestroy(false);
    m_pBody->SetBkColor(kComboPlainBkColor);
    m_pBody->SetBorderColor(kComboPlainBorderColor);
    m_pBody->SetBorderSize(1);
    m_pBody->SetInset({1, 1, 1, 1});
    m_pBody->ApplyAttributeList(pOwner->GetDropBoxAttributeList());
    if (pOwner->IsDropScrollBar()) m_pBody->EnableScrollBar(true, false);
}

CComboDropWnd::~CComboDropWnd() {
    if (!m_bAttached) delete m_pBody;
}

LPCTSTR CComboDropWnd::GetWindowClassName() const { return L"DuiComboDropWnd"; }

UINT CComboDropWnd::GetClassStyle() const { return CS_DBLCLKS | CS_DROPSHADOW; }

RECT CComboDropWnd::PlaceNearOwner() const {
    const HWND host = m_pOwner->GetManager()->GetPaintWindow();
    const RECT& rc = m_pOwner->GetPos();
    POINT topLeft{rc.left, rc.top};
    POINT bottomRight{rc.right, rc.bottom};
    ::ClientToScreen(host, &topLeft);
    ::ClientToScreen(host, &bottomRight);

    int content = 0;
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* item = m_pOwner->GetItemAt(i);
        if (!item->IsVisible()) continue;
        const SIZE sz = item->EstimateSize({0, 0});
        const RECT pad = item->GetPadding();
        content += pad.top + (sz.cy > 0 ? sz.cy : kListDefaultRowHeight) + pad.bottom;
    }
    const RECT inset = m_pBody->GetInset();
    content = std::max(content, static_cast<int>(kListDefaultRowHeight)) + inset.top + inset.bottom;

    const SIZE box = m_pOwner->GetDropBoxSize();
    const int width = box.cx > 0 ? box.cx : bottomRight.x - topLeft.x;
    const int height = std::min(content, box.cy > 0 ? static_cast<int>(box.cy) : kDefaultDropHeight);

    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (::GetMonitorInfoW(::MonitorFromWindow(host, MONITOR_DEFAULTTONEAREST), &mi)) work = mi.rcWork;

    RECT out{topLeft.x, bottomRight.y, topLeft.x + width, bottomRight.y + height};
    // Open upwards when there is no room below but room above.
    if (out.bottom > work.bottom && topLeft.y - height >= work.top) {
        out.top = topLeft.y - height;
        out.bottom = topLeft.y;
    }
    if (out.right > work.right) ::OffsetRect(&out, work.right - out.right, 0);
    if (out.left < work.left) ::OffsetRect(&out, work.left - out.left, 0);
    return out;
}

bool CComboDropWnd::Open() {
    const HWND host = m_pOwner->GetManager()->GetPaintWindow();
    const RECT rc = PlaceNearOwner();
    if (!Create(host, L"", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, rc)) return false;
    // Never activated: the combo's window keeps the keyboard, and under Wine the popup
    // stays an unmanaged window that no window manager moves or decorates.
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetCapture(m_hWnd);
    return true;
}

void CComboDropWnd::OnCreate() {
    m_pm.Init(m_hWnd);
    // Scroll bars look as they do in the combo's window.
    CPaintManagerUI* host = m_pOwner->GetManager();
    for (LPCTSTR name : {L"ScrollBar", L"VScrollBar"}) {
        if (LPCTSTR list = host->GetDefaultAttributeList(name)) m_pm.AddDefaultAttributeList(name, list);
    }
    for (int i = 0; i < m_pOwner->GetCount(); ++i) m_pBody->Add(m_pOwner->GetItemAt(i));
    m_pm.AttachDialog(m_pBody);
    m_bAttached = true;
    const int selected = m_pOwner->GetCurSel();
    SetHotIndex(selected);
    if (selected >= 0) m_pBody->EnsureItemVisible(selected);
}

void CComboDropWnd::ReturnItems() {
    if (!m_bAttached || !m_pBody || m_pBody->GetCount() == 0) return;
    // Detached, not destroyed (the body does not own them); then home again.
    m_pBody->RemoveAll();
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* item = m_pOwner->GetItemAt(i);
        if (IListItemUI* row = AsListItem(item)) row->SetHot(false);
        item->SetManager(m_pOwner->GetManager(), m_pOwner, false);
    }
}

void CComboDropWnd::RequestClose() {
    if (m_bCloseRequested || !m_hWnd) return;
    m_bCloseRequested = true;
    ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

void CComboDropWnd::DestroyNow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

int CComboDropWnd::HotIndex() const {
    for (int i = 0; i < m_pBody->GetCount(); ++i) {
        if (IListItemUI* row = AsListItem(m_pBody->GetItemAt(i)); row && row->IsHot()) return i;
    }
    return m_pOwner->GetCurSel();
}

void CComboDropWnd::SetHotIndex(int iIndex) {
    for (int i = 0; i < m_pBody->GetCount(); ++i) {
        if (IListItemUI* row = AsListItem(m_pBody->GetItemAt(i))) row->SetHot(i == iIndex);
    }
}

bool CComboDropWnd::HandleKey(WPARAM key) {
    const int hot = HotIndex();
    switch (key) {
    case VK_ESCAPE:
    case VK_F4:
        RequestClose();
        return true;
    case VK_RETURN:
        RequestClose();
        if (hot >= 0) m_pOwner->SelectItem(hot);
        return true;
    default:
        break;
    }
    const RECT& rc = m_pBody->GetPos();
    const int page = std::max(1, static_cast<int>(rc.bottom - rc.top) / kListDefaultRowHeight);
    const int target = NavigateRows(*m_pBody, hot, key, page);
    if (target == kNotARowKey) return false;
    if (target >= 0) {
        SetHotIndex(target);
        m_pBody->EnsureItemVisible(target);
    }
    return true;
}

void CComboDropWnd::Scroll(bool bUp) {
    // As if turned over the list itself.
    TEventUI event;
    event.Type = UIEvent::ScrollWheel;
    event.pSender = m_pBody;
    event.dwTimestamp = ::GetTickCount();
    event.wParam = bUp ? SB_LINEUP : SB_LINEDOWN;
    m_pBody->DoEvent(event);
}

void CComboDropWnd::SendToControl(CControlUI* pControl, UIEvent type, POINT pt, WPARAM wParam, LPARAM lParam) {
    TEventUI event;
    event.Type = type;
    event.pSender = pControl;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse = pt;
    event.wKeyState = static_cast<WORD>(wParam);
    event.wParam = wParam;
    event.lParam = lParam;
    pControl->DoEvent(event);
}

void CComboDropWnd::OnPress(POINT pt, WPARAM wParam, LPARAM lParam) {
    CControlUI* control = m_pm.FindControl(pt);
    if (!control || !control->IsEnabled()) return;
    if (IListItemUI* row = AsListItem(control); row && m_pBody->GetItemIndex(control) >= 0) {
        // Close first: a handler of "itemselect" may open another window.
        RequestClose();
        m_pOwner->SelectItem(row->GetIndex());
        return;
    }
    // The scroll bar: it follows the pointer until the release.
    m_pPressed = control;
    SendToControl(control, UIEvent::ButtonDown, pt, wParam, lParam);
}

LRESULT CComboDropWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (uMsg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: {
        // With the capture every click of this thread lands here: outside means close.
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        if (!::PtInRect(&client, pt)) {
            RequestClose();
            return 0;
        }
        if (uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONDBLCLK) OnPress(pt, wParam, lParam);
        return 0;
    }
    case WM_LBUTTONUP:
        if (CControlUI* pressed = m_pPressed) {
            m_pPressed = nullptr;
            SendToControl(pressed, UIEvent::ButtonUp, pt, wParam, lParam);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (m_pPressed) {
            SendToControl(m_pPressed, UIEvent::MouseMove, pt, wParam, lParam);
            return 0;
        }
        {
            LRESULT lRes = 0;
            m_pm.MessageHandler(uMsg, wParam, lParam, lRes);
            // The mouse takes the highlight over from the keys.
            if (IListItemUI* row = AsListItem(m_pm.GetHot())) SetHotIndex(row->GetIndex());
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Another window or application took the mouse.
        if (reinterpret_cast<HWND>(lParam) != m_hWnd) RequestClose();
        break;
    case WM_CANCELMODE:
        RequestClose();
        break;
    case WM_DESTROY:
        m_pPressed = nullptr;
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        ReturnItems();
        break;
    default:
        break;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CComboDropWnd::OnFinalMessage(HWND) {
    m_pOwner->OnDropClosed();
    delete this;
}

} // namespace DuiLib
