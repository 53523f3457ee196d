#include "duilib/UICombo.h"
#include "duilib/UIButton.h"
#include "duilib/UIComboDrop.h"
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"
#include "duilib/UIRect.h"

namespace DuiLib {

namespace {

// The arrow of the face drawn when the layout gives no images.
constexpr DWORD kPlainArrowColor = 0xFF445B84;

} // namespace

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() {
    m_bDestroying = true;
    // The drop-down holds our items: take them back before they are destroyed.
    if (m_pDropWnd) m_pDropWnd->DestroyNow();
}

LPCTSTR CComboUI::GetClass() const { return L"ComboUI"; }

LPVOID CComboUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Combo") == 0) return static_cast<CComboUI*>(this);
    if (pstrName && wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

// ---- Selection

void CComboUI::MarkSelected(int iIndex, bool bSelected) {
    if (IListItemUI* item = AsListItem(GetItemAt(iIndex))) item->SetSelected(bSelected);
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus) {
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (bTakeFocus) SetFocus();
    if (iIndex == m_iCurSel) return true;
    const int old = m_iCurSel;
    MarkSelected(old, false);
    m_iCurSel = iIndex;
    MarkSelected(iIndex, true);
    Invalidate();
    RaiseNotify(DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(iIndex), static_cast<LPARAM>(old));
    return true;
}

void CComboUI::SelectItemQuietly(int iIndex) {
    if (iIndex < 0 || iIndex >= GetCount() || iIndex == m_iCurSel) return;
    MarkSelected(m_iCurSel, false);
    m_iCurSel = iIndex;
    MarkSelected(iIndex, true);
    Invalidate();
}

CDuiString CComboUI::GetText() const {
    CControlUI* item = GetItemAt(m_iCurSel);
    return item ? item->GetText() : CDuiString();
}

// ---- Items

void CComboUI::ReclaimItems() {
    if (!m_pDropWnd) return;
    m_pDropWnd->ReturnItems();
    m_pDropWnd->RequestClose();
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex) {
    ReclaimItems();
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    IListItemUI* item = AsListItem(pControl);
    if (item) item->SetOwner(this);
    ReindexRows(*this, iIndex);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    // An item marked selected in the layout before it had an owner.
    if (item && item->IsSelected() && m_iCurSel != iIndex) {
        item->SetSelected(false);
        SelectItemQuietly(iIndex);
    }
    Invalidate();
    return true;
}

bool CComboUI::Remove(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index);
}

bool CComboUI::RemoveAt(int iIndex) {
    CControlUI* item = GetItemAt(iIndex);
    if (!item) return false;
    ReclaimItems();
    if (IListItemUI* row = AsListItem(item)) row->SetOwner(nullptr);
    if (!CContainerUI::RemoveAt(iIndex)) return false;
    ReindexRows(*this, iIndex);
    if (iIndex == m_iCurSel) m_iCurSel = -1;
    else if (iIndex < m_iCurSel) --m_iCurSel;
    Invalidate();
    return true;
}

void CComboUI::RemoveAll() {
    ReclaimItems();
    for (int i = 0; i < GetCount(); ++i) {
        if (IListItemUI* row = AsListItem(GetItemAt(i))) row->SetOwner(nullptr);
    }
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    Invalidate();
}

bool CComboUI::SetItemIndex(CControlUI* pControl, int iIndex) {
    ReclaimItems();
    CControlUI* selected = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) return false;
    ReindexRows(*this, 0);
    if (selected) m_iCurSel = GetItemIndex(selected);
    Invalidate();
    return true;
}

// ---- Drop-down

bool CComboUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pDropWnd) return true;
    if (!m_pManager || !m_pManager->GetPaintWindow()) return false;
    // The drop-down never takes the keyboard: the combo keeps it and passes keys on.
    SetFocus();
    auto* wnd = new CComboDropWnd(this);
    m_pDropWnd = wnd;
    if (!wnd->Open()) {
        m_pDropWnd = nullptr;
        delete wnd;
        return false;
    }
    if (m_state.SetPushed(true)) Invalidate();
    RaiseNotify(DUI_MSGTYPE_DROPDOWN);
    return true;
}

HWND CComboUI::GetDropWindow() const { return m_pDropWnd ? m_pDropWnd->GetHWND() : nullptr; }

void CComboUI::CloseDropDown() {
    if (m_pDropWnd) m_pDropWnd->RequestClose();
}

void CComboUI::OnDropClosed() {
    m_pDropWnd = nullptr;
    if (m_bDestroying) return;
    if (m_state.SetPushed(false)) Invalidate();
}

// ---- State and events

void CComboUI::SetVisible(bool bVisible) {
    if (!bVisible) CloseDropDown();
    CContainerUI::SetVisible(bVisible);
}

void CComboUI::SetEnabled(bool bEnable) {
    if (!bEnable) {
        CloseDropDown();
        m_state.Reset();
    }
    CContainerUI::SetEnabled(bEnable);
}

void CComboUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::DblClick:
        if (!IsEnabled()) return;
        // The open list captures the mouse, so this comes only from code; it closes.
        if (m_pDropWnd) {
            CloseDropDown();
            return;
        }
        Activate();
        return;
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
        if (m_state.SetHot(event.Type == UIEvent::MouseEnter && IsEnabled())) Invalidate();
        return;
    case UIEvent::KillFocus:
        CloseDropDown();
        Invalidate();
        return;
    case UIEvent::ScrollWheel:
        if (m_pDropWnd) {
            m_pDropWnd->Scroll(event.wParam == SB_LINEUP);
            return;
        }
        CControlUI::DoEvent(event);
        return;
    case UIEvent::KeyDown: {
        if (m_pDropWnd) {
            m_pDropWnd->HandleKey(event.wParam);
            return;
        }
        if (!IsEnabled()) return;
        const bool alt = (::GetKeyState(VK_MENU) & 0x8000) != 0;
        if (event.wParam == VK_F4 || (event.wParam == VK_DOWN && alt)) {
            Activate();
            return;
        }
        // No paging while closed.
        const int target = NavigateRows(*this, m_iCurSel, event.wParam, 0);
        if (target >= 0) SelectItem(target);
        return;
    }
    case UIEvent::SetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    default:
        CControlUI::DoEvent(event);
        return;
    }
}

// ---- Layout and painting

void CComboUI::SetPos(RECT rc, bool bNeedInvalidate) { CControlUI::SetPos(rc, bNeedInvalidate); }

CControlUI* CComboUI::FindControl(FINDCONTROLPROC proc, LPVOID pData, UINT uFlags) {
    // The items' rectangles belong to the drop-down window, not to ours.
    if (uFlags & UIFIND_HITTEST) return CControlUI::FindControl(proc, pData, uFlags);
    return CContainerUI::FindControl(proc, pData, uFlags);
}

void CComboUI::DoPaint(CCanvas& canvas, const RECT& rcPaint) { CControlUI::DoPaint(canvas, rcPaint); }

void CComboUI::PaintStatusImage(CCanvas& canvas) {
    const CDuiString* image = &m_sNormalImage;
    if (!IsEnabled()) {
        if (!m_sDisabledImage.IsEmpty()) image = &m_sDisabledImage;
    } else if (m_state.IsPushed() && !m_sPushedImage.IsEmpty()) {
        image = &m_sPushedImage;
    } else if (m_state.IsHot() && !m_sHotImage.IsEmpty()) {
        image = &m_sHotImage;
    } else if (IsFocused() && !m_sFocusedImage.IsEmpty()) {
        image = &m_sFocusedImage;
    }
    if (DrawImage(canvas, *image)) return;

    // No skin: a plain box with a down arrow, so the control is still recognisable.
    Render::FillRect(canvas, m_rcItem, kComboPlainBkColor);
    Render::DrawBorder(canvas, m_rcItem, 1, kComboPlainBorderColor);
    const int cx = m_rcItem.right - 12;
    const int cy = (m_rcItem.top + m_rcItem.bottom) / 2 - 2;
    for (int i = 0; i < 4; ++i) Render::FillRect(canvas, {cx - 3 + i, cy + i, cx + 4 - i, cy + i + 1}, kPlainArrowColor);
}

void CComboUI::PaintText(CCanvas& canvas) {
    if (!m_pManager) return;
    CControlUI* item = GetItemAt(m_iCurSel);
    if (!item) return;
    const CDuiString text = item->GetText();
    if (text.IsEmpty()) return;
    const RECT rc = ShrinkRect(m_rcItem, m_rcTextPadding);
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    DWORD color = 0;
    if (!IsEnabled()) color = m_dwDisabledTextColor ? m_dwDisabledTextColor : m_pManager->GetDefaultDisabledColor();
    else color = m_dwTextColor ? m_dwTextColor : m_ListInfo.dwTextColor;
    if (!color) color = m_pManager->GetDefaultTextColor();
    HFONT font = m_pManager->GetFont(m_iFont >= 0 ? m_iFont : m_ListInfo.nFont);
    Render::DrawText(canvas, rc, text, color, font,
                     m_uTextAlign | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void CComboUI::SetTextPadding(RECT rc) { m_rcTextPadding = rc; Invalidate(); }
void CComboUI::SetFont(int index) { m_iFont = index; Invalidate(); }
void CComboUI::SetTextColor(DWORD dwColor) { m_dwTextColor = dwColor; Invalidate(); }
void CComboUI::SetNormalImage(LPCTSTR pStrImage) { m_sNormalImage = pStrImage; Invalidate(); }
void CComboUI::SetHotImage(LPCTSTR pStrImage) { m_sHotImage = pStrImage; Invalidate(); }
void CComboUI::SetPushedImage(LPCTSTR pStrImage) { m_sPushedImage = pStrImage; Invalidate(); }
void CComboUI::SetFocusedImage(LPCTSTR pStrImage) { m_sFocusedImage = pStrImage; Invalidate(); }
void CComboUI::SetDisabledImage(LPCTSTR pStrImage) { m_sDisabledImage = pStrImage; Invalidate(); }

void CComboUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = CComboUI;
    static const TAttributeTable<C> table{
        {L"droptype", [](C&, LPCTSTR) {}},   // "droplist", the only kind there is
        {L"dropboxsize", [](C& c, LPCTSTR v) { SIZE sz{}; if (ParseSize(v, sz)) c.SetDropBoxSize(sz); }},
        {L"dropbox", [](C& c, LPCTSTR v) { c.SetDropBoxAttributeList(v); }},
        // Bars belong to the drop-down's list, never to the face.
        {L"vscrollbar", [](C& c, LPCTSTR v) { c.m_bDropScrollBar = ParseBool(v); }},
        {L"hscrollbar", [](C&, LPCTSTR) {}},
        {L"textpadding", [](C& c, LPCTSTR v) { RECT rc{}; ParseRect(v, rc); c.SetTextPadding(rc); }},
        {L"font", [](C& c, LPCTSTR v) { int n = -1; if (ParseInt(v, n)) c.SetFont(n); }},
        {L"textcolor", [](C& c, LPCTSTR v) { DWORD d = 0; if (ParseColor(v, d)) c.SetTextColor(d); }},
        {L"disabledtextcolor", [](C& c, LPCTSTR v) { DWORD d = 0; if (ParseColor(v, d)) c.m_dwDisabledTextColor = d; }},
        {L"align", [](C& c, LPCTSTR v) {
            if (wcscmp(v, L"center") == 0) c.m_uTextAlign = DT_CENTER;
            else if (wcscmp(v, L"right") == 0) c.m_uTextAlign = DT_RIGHT;
            else c.m_uTextAlign = DT_LEFT;
            c.Invalidate();
        }},
        {L"normalimage", [](C& c, LPCTSTR v) { c.SetNormalImage(v); }},
        {L"hotimage", [](C& c, LPCTSTR v) { c.SetHotImage(v); }},
        {L"pushedimage", [](C& c, LPCTSTR v) { c.SetPushedImage(v); }},
        {L"focusedimage", [](C& c, LPCTSTR v) { c.SetFocusedImage(v); }},
        {L"disabledimage", [](C& c, LPCTSTR v) { c.SetDisabledImage(v); }},
    };
    if (table.Apply(*this, pstrName, pstrValue)) return;
    if (ApplyListInfoAttribute(m_ListInfo, pstrName, pstrValue)) {
        Invalidate();
        return;
    }
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

} // namespace DuiLib
