#include "duilib/UIListElement.h"
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"

namespace DuiLib {

namespace {

// Odd rows of a list with itemaltbk and no itemaltbkcolor get this shade over their background.
constexpr DWORD kAltShade = 0x0C000000;

} // namespace

// ---- CListElementUI

LPCTSTR CListElementUI::GetClass() const { return L"ListElementUI"; }

LPVOID CListElementUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (pstrName && wcscmp(pstrName, L"ListElement") == 0) return static_cast<CListElementUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

void CListElementUI::SetOwner(CControlUI* pOwner) {
    m_pOwnerControl = pOwner;
    m_pOwner = pOwner ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
    if (!m_pOwner) m_pOwnerControl = nullptr;
}

void CListElementUI::SetSelected(bool bSelected) { SetLook(m_bSelected, bSelected); }
void CListElementUI::SetHot(bool bHot) { SetLook(m_bHot, bHot); }

void CListElementUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    m_bOwnTextPadding = true;
    Invalidate();
}

bool CListElementUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pOwner) m_pOwner->SelectItem(m_iIndex, true);
    return true;
}

SIZE CListElementUI::EstimateSize(SIZE) {
    return {m_cxyFixed.cx, m_cxyFixed.cy > 0 ? m_cxyFixed.cy : kListDefaultRowHeight};
}

void CListElementUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::RButtonDown:
        if (!IsEnabled()) return;
        if (m_pOwner) m_pOwner->SelectItem(m_iIndex, true);
        // A handler of "itemselect" may have taken the row out of its list.
        if (event.Type == UIEvent::ButtonDown && m_pParent) RaiseNotify(DUI_MSGTYPE_ITEMCLICK);
        return;
    case UIEvent::DblClick:
        if (!IsEnabled()) return;
        if (m_pOwner) m_pOwner->SelectItem(m_iIndex, true);
        if (m_pParent) RaiseNotify(DUI_MSGTYPE_ITEMDBCLICK);
        return;
    case UIEvent::MouseEnter:
        if (IsEnabled()) SetHot(true);
        return;
    case UIEvent::MouseLeave:
        SetHot(false);
        return;
    case UIEvent::KeyDown:
    case UIEvent::KeyUp:
    case UIEvent::Char:
        // Navigation belongs to the owner.
        if (m_pOwner) {
            m_pOwner->DoEvent(event);
            return;
        }
        break;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

CPaintManagerUI* CListElementUI::StyleManager() const {
    if (m_pOwnerControl && m_pOwnerControl->GetManager()) return m_pOwnerControl->GetManager();
    return m_pManager;
}

DWORD CListElementUI::RowTextColor() const {
    const TListInfoUI* info = Info();
    DWORD color = 0;
    if (info) {
        if (!IsEnabled()) color = info->dwDisabledTextColor;
        else if (m_bSelected) color = info->dwSelectedTextColor;
        else if (m_bHot) color = info->dwHotTextColor;
        if (!color) color = info->dwTextColor;
    }
    if (!color) {
        CPaintManagerUI* pm = StyleManager();
        if (!IsEnabled()) color = pm ? pm->GetDefaultDisabledColor() : 0xFFA7A6AA;
        else color = pm ? pm->GetDefaultTextColor() : 0xFF000000;
    }
    return color;
}

RECT CListElementUI::TextRect(const RECT& rcItem) const {
    const TListInfoUI* info = Info();
    const RECT pad = m_bOwnTextPadding ? m_rcTextPadding : (info ? info->rcTextPadding : RECT{});
    return {rcItem.left + pad.left, rcItem.top + pad.top, rcItem.right - pad.right, rcItem.bottom - pad.bottom};
}

void CListElementUI::DrawRowText(CCanvas& canvas, const RECT& rc, LPCTSTR text) {
    if (!text || !*text || rc.right <= rc.left || rc.bottom <= rc.top) return;
    const TListInfoUI* info = Info();
    CPaintManagerUI* pm = StyleManager();
    HFONT font = pm ? pm->GetFont(info ? info->nFont : -1) : nullptr;
    UINT style = info ? info->uTextStyle : (DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    // Rows are one line; GDI centres vertically only single lines anyway.
    style = (style & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_NOPREFIX;
    Render::DrawText(canvas, rc, text, RowTextColor(), font, style);
}

void CListElementUI::DrawItemBk(CCanvas& canvas, const RECT& rcItem) {
    if (m_dwBackColor >> 24) Render::FillRect(canvas, rcItem, m_dwBackColor);
    if (!m_sBkImage.IsEmpty()) Render::DrawImage(canvas, rcItem, m_sBkImage.GetData());
    const TListInfoUI* info = Info();
    if (!info) return;

    DWORD color = 0;
    const CDuiString* image = nullptr;
    if (!IsEnabled()) {
        color = info->dwDisabledBkColor;
        image = &info->sDisabledImage;
    } else if (m_bSelected) {
        color = info->dwSelectedBkColor;
        image = &info->sSelectedImage;
    } else if (m_bHot) {
        color = info->dwHotBkColor;
        image = &info->sHotImage;
    }
    bool shade = false;
    if (!(color >> 24) && (!image || image->IsEmpty())) {
        // No look for this state: the normal one.
        color = info->dwBkColor;
        image = &info->sBkImage;
        shade = info->bAlternateBk && (m_iIndex % 2) == 1;
    }
    if (color >> 24) Render::FillRect(canvas, rcItem, color);
    if (shade) Render::FillRect(canvas, rcItem, info->dwAltBkColor ? info->dwAltBkColor : kAltShade);
    if (image && !image->IsEmpty()) Render::DrawImage(canvas, rcItem, image->GetData());
    if (info->dwLineColor >> 24)
        Render::FillRect(canvas, {rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom}, info->dwLineColor);
}

void CListElementUI::DrawItemText(CCanvas&, const RECT&) {}

void CListElementUI::DoPaint(CCanvas& canvas, const RECT& rcPaint) {
    RECT rcDraw;
    if (!::IntersectRect(&rcDraw, &rcPaint, &m_rcItem)) return;
    const RECT saved = canvas.PushClip(rcDraw);
    DrawItemBk(canvas, m_rcItem);
    DrawItemText(canvas, m_rcItem);
    PaintBorder(canvas);
    canvas.RestoreClip(saved);
}

void CListElementUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (pstrName && wcscmp(pstrName, L"selected") == 0) {
        if (!ParseBool(pstrValue)) return;
        // A layout statement, not a user's choice: no "itemselect". Before the row has an
        // owner, the owner adopts the flag when the row is added.
        m_bSelected = true;
        if (m_pOwner) m_pOwner->SelectItemQuietly(m_iIndex);
        return;
    }
    if (pstrName && wcscmp(pstrName, L"textpadding") == 0) {
        RECT rc{};
        ParseRect(pstrValue, rc);
        SetTextPadding(rc);
        return;
    }
    CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---- CListLabelElementUI

LPCTSTR CListLabelElementUI::GetClass() const { return L"ListLabelElementUI"; }

LPVOID CListLabelElementUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"ListLabelElement") == 0) return static_cast<CListLabelElementUI*>(this);
    return CListElementUI::GetInterface(pstrName);
}

void CListLabelElementUI::DrawItemText(CCanvas& canvas, const RECT& rcItem) {
    DrawRowText(canvas, TextRect(rcItem), m_sText);
}

// ---- CListTextElementUI

LPCTSTR CListTextElementUI::GetClass() const { return L"ListTextElementUI"; }

LPVOID CListTextElementUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"ListTextElement") == 0) return static_cast<CListTextElementUI*>(this);
    return CListLabelElementUI::GetInterface(pstrName);
}

CDuiString CListTextElementUI::GetText(int iColumn) const {
    if (iColumn < 0 || iColumn >= static_cast<int>(m_aTexts.size())) return CDuiString();
    return m_aTexts[static_cast<size_t>(iColumn)];
}

void CListTextElementUI::SetText(int iColumn, LPCTSTR pstrText) {
    if (iColumn < 0 || iColumn >= kListMaxColumns) return;
    if (iColumn >= static_cast<int>(m_aTexts.size())) m_aTexts.resize(static_cast<size_t>(iColumn) + 1);
    m_aTexts[static_cast<size_t>(iColumn)] = pstrText;
    Invalidate();
}

void CListTextElementUI::SetOwner(CControlUI* pOwner) {
    CListLabelElementUI::SetOwner(pOwner);
    m_pList = m_pOwnerControl ? static_cast<IListUI*>(m_pOwnerControl->GetInterface(L"IList")) : nullptr;
}

void CListTextElementUI::DrawItemText(CCanvas& canvas, const RECT& rcItem) {
    const TListInfoUI* info = Info();
    IListCallbackUI* callback = m_pList ? m_pList->GetTextCallback() : nullptr;
    const int columns = info && info->nColumns > 0 ? info->nColumns : 1;
    const RECT& clip = canvas.Clip();
    for (int i = 0; i < columns; ++i) {
        RECT rcColumn = rcItem;
        if (info && info->nColumns > 0) {
            rcColumn.left = rcItem.left + info->rcColumn[i].left;
            rcColumn.right = rcItem.left + info->rcColumn[i].right;
        }
        // Columns scrolled out of sight are not asked for their text.
        if (rcColumn.right <= clip.left || rcColumn.left >= clip.right) continue;
        const RECT rcText = TextRect(rcColumn);
        if (callback) {
            // The callback's text lives in a buffer its next call overwrites: draw it now.
            DrawRowText(canvas, rcText, callback->GetItemText(this, m_iIndex, i));
        } else if (i < static_cast<int>(m_aTexts.size())) {
            DrawRowText(canvas, rcText, m_aTexts[static_cast<size_t>(i)]);
        }
    }
}

} // namespace DuiLib
