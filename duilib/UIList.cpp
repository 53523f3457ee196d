#include "duilib/UIList.h"
#include <algorithm>
#include "duilib/UIManager.h"
#include "duilib/UIRect.h"
#include "duilib/UIScrollBar.h"

namespace DuiLib {

CListUI::CListUI() : m_pHeader(new CListHeaderUI), m_pList(new CListBodyUI(this)) {
    // Header and body are our own children, kept out of the row operations.
    m_items.push_back(m_pHeader);
    m_items.push_back(m_pList);
    m_pHeader->SetManager(nullptr, this, false);
    m_pList->SetManager(nullptr, this, false);
}

LPCTSTR CListUI::GetClass() const { return L"ListUI"; }

LPVOID CListUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"List") == 0) return static_cast<CListUI*>(this);
    if (pstrName && wcscmp(pstrName, L"IList") == 0) return static_cast<IListUI*>(this);
    if (pstrName && wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(pstrName);
}

CContainerUI* CListUI::GetList() const { return m_pList; }

void CListUI::SetTextCallback(IListCallbackUI* pCallback) {
    m_pCallback = pCallback;
    Invalidate();
}

// ---- Selection

void CListUI::MarkSelected(int iIndex, bool bSelected) {
    if (IListItemUI* item = AsListItem(GetItemAt(iIndex))) item->SetSelected(bSelected);
}

bool CListUI::SelectItem(int iIndex, bool bTakeFocus) {
    if (iIndex < -1 || iIndex >= GetCount()) return false;
    if (iIndex >= 0) {
        EnsureItemVisible(iIndex);
        if (bTakeFocus) GetItemAt(iIndex)->SetFocus();
    } else if (bTakeFocus) {
        SetFocus();
    }
    if (iIndex == m_iCurSel) return true;
    const int old = m_iCurSel;
    MarkSelected(old, false);
    m_iCurSel = iIndex;
    MarkSelected(iIndex, true);
    RaiseNotify(DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(iIndex), static_cast<LPARAM>(old));
    return true;
}

void CListUI::SelectItemQuietly(int iIndex) {
    if (iIndex < 0 || iIndex >= GetCount() || iIndex == m_iCurSel) return;
    MarkSelected(m_iCurSel, false);
    m_iCurSel = iIndex;
    MarkSelected(iIndex, true);
}

int CListUI::PageRows() const {
    const RECT& rc = m_pList->GetPos();
    const int view = rc.bottom - rc.top;
    CControlUI* row = GetItemAt(m_iCurSel >= 0 ? m_iCurSel : 0);
    const int height = row ? std::max(1, static_cast<int>(row->GetHeight())) : kListDefaultRowHeight;
    return std::max(1, view / height);
}

void CListUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEvent::ScrollWheel) {
        m_pList->DoEvent(event);
        return;
    }
    if (event.Type == UIEvent::KeyDown && IsEnabled()) {
        const int target = NavigateRows(*this, m_iCurSel, event.wParam, PageRows());
        if (target != kNotARowKey) {
            if (target >= 0) SelectItem(target, true);
            return;
        }
    }
    CVerticalLayoutUI::DoEvent(event);
}

// ---- Rows

CControlUI* CListUI::GetItemAt(int iIndex) const { return m_pList->GetItemAt(iIndex); }

int CListUI::GetItemIndex(CControlUI* pControl) const {
    // Rows know their index: no search for them.
    if (pControl && pControl->GetParent() == m_pList) {
        if (IListItemUI* item = AsListItem(pControl)) {
            if (m_pList->GetItemAt(item->GetIndex()) == pControl) return item->GetIndex();
        }
    }
    return m_pList->GetItemIndex(pControl);
}

int CListUI::GetCount() const { return m_pList->GetCount(); }

bool CListUI::SetItemIndex(CControlUI* pControl, int iIndex) {
    CControlUI* selected = GetItemAt(m_iCurSel);
    if (!m_pList->SetItemIndex(pControl, iIndex)) return false;
    ReindexRows(*this, 0);
    if (selected) m_iCurSel = m_pList->GetItemIndex(selected);
    return true;
}

bool CListUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CListUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!pControl) return false;
    if (auto* header = static_cast<CListHeaderUI*>(pControl->GetInterface(L"ListHeader"))) {
        if (header == m_pHeader) return false;
        ReplaceHeader(header);
        return true;
    }
    if (pControl->GetInterface(L"ListHeaderItem")) return m_pHeader->Add(pControl);

    if (!m_pList->AddAt(pControl, iIndex)) return false;
    IListItemUI* item = AsListItem(pControl);
    if (item) {
        item->SetOwner(this);
        item->SetIndex(iIndex);
    }
    if (iIndex < GetCount() - 1) ReindexRows(*this, iIndex + 1);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    // A row marked selected in the layout before it had an owner.
    if (item && item->IsSelected() && m_iCurSel != iIndex) {
        item->SetSelected(false);
        SelectItemQuietly(iIndex);
    }
    return true;
}

bool CListUI::Remove(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index);
}

bool CListUI::RemoveAt(int iIndex) {
    CControlUI* row = GetItemAt(iIndex);
    if (!row) return false;
    if (IListItemUI* item = AsListItem(row)) item->SetOwner(nullptr);
    if (!m_pList->RemoveAt(iIndex)) return false;
    ReindexRows(*this, iIndex);
    if (iIndex == m_iCurSel) m_iCurSel = -1;
    else if (iIndex < m_iCurSel) --m_iCurSel;
    return true;
}

void CListUI::RemoveAll() {
    for (int i = 0; i < GetCount(); ++i) {
        if (IListItemUI* item = AsListItem(GetItemAt(i))) item->SetOwner(nullptr);
    }
    m_iCurSel = -1;
    m_pList->RemoveAll();
}

// ---- Header

void CListUI::ReplaceHeader(CListHeaderUI* pHeader) {
    CListHeaderUI* old = m_pHeader;
    m_items[0] = pHeader;
    m_pHeader = pHeader;
    pHeader->SetManager(m_pManager, this, m_pManager != nullptr && m_bInited);
    if (!m_bHeaderShown) pHeader->SetVisible(false);
    if (m_pManager) m_pManager->ForgetControl(old);
    delete old;
    NeedUpdate();
}

bool CListUI::IsHeaderVisible() const { return m_pHeader->IsVisible(); }

void CListUI::SetHeaderVisible(bool bVisible) {
    m_bHeaderShown = bVisible;
    m_pHeader->SetVisible(bVisible);
    NeedUpdate();
}

int CListUI::LayoutColumns(int cxView) {
    cxView = std::max(0, cxView);
    const bool shown = m_pHeader->IsVisible();
    int64_t fixed = 0;  // 64-bit: many huge fixed widths must not wrap
    int flexible = 0;
    int columns = 0;
    for (int i = 0; i < m_pHeader->GetCount() && columns < kListMaxColumns; ++i) {
        CControlUI* item = m_pHeader->GetItemAt(i);
        if (!item->IsVisible()) continue;
        if (item->GetFixedWidth() > 0) fixed += item->GetFixedWidth();
        else ++flexible;
        ++columns;
    }
    const int rowWidth = shown ? ClampCoord(std::max<int64_t>(cxView, fixed)) : cxView;
    // Flexible columns share what the fixed ones leave, spare pixels to the first ones,
    // the way the header lays out its items.
    const int rest = static_cast<int>(std::max<int64_t>(0, rowWidth - fixed));
    const int share = flexible ? rest / flexible : 0;
    int extra = flexible ? rest - share * flexible : 0;
    int64_t x = 0;
    int c = 0;
    for (int i = 0; i < m_pHeader->GetCount() && c < columns; ++i) {
        CControlUI* item = m_pHeader->GetItemAt(i);
        if (!item->IsVisible()) continue;
        int width = item->GetFixedWidth();
        if (width <= 0) {
            width = share + (extra > 0 ? 1 : 0);
            if (extra > 0) --extra;
        }
        m_ListInfo.rcColumn[c] = {ClampCoord(x), 0, ClampCoord(x + width), 0};
        x += width;
        ++c;
    }
    if (!shown && c > 0) {
        RECT& last = m_ListInfo.rcColumn[c - 1];
        last.right = std::max(last.left, static_cast<LONG>(rowWidth));
    }
    m_ListInfo.nColumns = c;
    return rowWidth;
}

void CListUI::PositionHeader(const RECT& rcBodyInner, int cxRows, int scrollX) {
    if (!m_pHeader->IsVisible()) return;
    const RECT inner = GetInnerRect();
    const int height = m_pHeader->EstimateSize({inner.right - inner.left, inner.bottom - inner.top}).cy;
    const int width = std::max(cxRows, static_cast<int>(rcBodyInner.right - rcBodyInner.left));
    const int left = ClampCoord(int64_t{rcBodyInner.left} - scrollX);
    m_pHeader->SetPos({left, inner.top, ClampCoord(int64_t{left} + width), ClampCoord(int64_t{inner.top} + height)}, false);
}

// ---- Layout and scrolling

void CListUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = GetInnerRect();
    int headerHeight = 0;
    if (m_pHeader->IsVisible())
        headerHeight = m_pHeader->EstimateSize({inner.right - inner.left, inner.bottom - inner.top}).cy;
    const int bodyTop = std::min(static_cast<int>(inner.bottom), static_cast<int>(inner.top) + headerHeight);
    // The body places the header once it knows the columns and its scrolling.
    m_pList->SetPos({inner.left, bodyTop, inner.right, inner.bottom}, bNeedInvalidate);
}

void CListUI::EnsureItemVisible(int iIndex) { m_pList->EnsureItemVisible(iIndex); }

void CListUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal) {
    m_pList->EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const { return m_pList->GetVerticalScrollBar(); }
CScrollBarUI* CListUI::GetHorizontalScrollBar() const { return m_pList->GetHorizontalScrollBar(); }
SIZE CListUI::GetScrollPos() const { return m_pList->GetScrollPos(); }
SIZE CListUI::GetScrollRange() const { return m_pList->GetScrollRange(); }
void CListUI::SetScrollPos(SIZE szPos) { m_pList->SetScrollPos(szPos); }
void CListUI::LineUp() { m_pList->LineUp(); }
void CListUI::LineDown() { m_pList->LineDown(); }
void CListUI::PageUp() { m_pList->PageUp(); }
void CListUI::PageDown() { m_pList->PageDown(); }
void CListUI::HomeUp() { m_pList->HomeUp(); }
void CListUI::EndDown() { m_pList->EndDown(); }
void CListUI::LineLeft() { m_pList->LineLeft(); }
void CListUI::LineRight() { m_pList->LineRight(); }

void CListUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (pstrName && wcscmp(pstrName, L"header") == 0) {
        SetHeaderVisible(!pstrValue || wcscmp(pstrValue, L"hidden") != 0);
        return;
    }
    if (pstrName && wcscmp(pstrName, L"scrollstepsize") == 0) {
        m_pList->SetAttribute(pstrName, pstrValue);
        return;
    }
    if (ApplyListInfoAttribute(m_ListInfo, pstrName, pstrValue)) {
        Invalidate();
        return;
    }
    // vscrollbar/hscrollbar reach the body through EnableScrollBar.
    CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace DuiLib
