#include "duilib/UIListBody.h"
#include <algorithm>
#include "duilib/UIList.h"
#include "duilib/UIManager.h"
#include "duilib/UIRect.h"
#include "duilib/UIScrollBar.h"

namespace DuiLib {

CListBodyUI::CListBodyUI(CListUI* pList) : m_pList(pList) {}

LPCTSTR CListBodyUI::GetClass() const { return L"ListBodyUI"; }

int CListBodyUI::RowHeight(CControlUI* pRow, SIZE szAvailable) const {
    const SIZE sz = pRow->EstimateSize(szAvailable);
    const int cy = sz.cy > 0 ? sz.cy : kListDefaultRowHeight;
    return std::max(pRow->GetMinHeight(), std::min(cy, pRow->GetMaxHeight()));
}

int CListBodyUI::GetContentHeight() {
    const SIZE avail{m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top};
    int64_t total = 0;  // 64-bit: many rows with huge heights or paddings must not wrap
    int rows = 0;
    for (CControlUI* row : m_items) {
        if (!row->IsVisible()) continue;
        const RECT pad = row->GetPadding();
        total += pad.top + RowHeight(row, avail) + pad.bottom;
        ++rows;
    }
    return total + std::max(0, rows - 1) * m_iChildPadding;
}

int CListBodyUI::RowStep() const {
    for (CControlUI* row : m_items) {
        if (row->IsVisible()) return std::max(1, RowHeight(row, {0, 0}));
    }
    return kListDefaultRowHeight;
}

void CListBodyUI::LineUp() {
    SIZE sz = GetScrollPos();
    sz.cy -= RowStep();
    SetScrollPos(sz);
}

void CListBodyUI::LineDown() {
    SIZE sz = GetScrollPos();
    sz.cy += RowStep();
    SetScrollPos(sz);
}

void CListBodyUI::EnsureItemVisible(int iIndex) {
    CControlUI* row = GetItemAt(iIndex);
    if (!row || !row->IsVisible()) return;
    const bool placed = m_pManager && !m_pManager->IsUpdateNeeded() && !m_bUpdateNeeded;
    if (placed) {
        EnsureVisible(row->GetPos());
        return;
    }
    m_iEnsureVisible = iIndex;
    NeedUpdate();
}

void CListBodyUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inset = GetInsetRect();

    // Measure once: heights do not depend on the width.
    const SIZE avail{inset.right - inset.left, inset.bottom - inset.top};
    m_heights.assign(m_items.size(), -1);
    int64_t total = 0;  // 64-bit: many rows with huge heights or paddings must not wrap
    int rows = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        CControlUI* row = m_items[i];
        if (!row->IsVisible()) continue;
        const RECT pad = row->GetPadding();
        m_heights[i] = RowHeight(row, avail);
        total += int64_t{pad.top} + m_heights[i] + pad.bottom;
        ++rows;
    }
    total += int64_t{std::max(0, rows - 1)} * m_iChildPadding;

    // The bars take room from the view, which can change the row width: settle both.
    int rowWidth = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const RECT inner = GetInnerRect();
        const int view = inner.right - inner.left;
        rowWidth = m_pList ? m_pList->LayoutColumns(view) : view;
        if (!ProcessScrollBar(inset, rowWidth, ClampCoord(total))) break;
    }
    const RECT inner = GetInnerRect();
    rowWidth = m_pList ? m_pList->LayoutColumns(inner.right - inner.left) : inner.right - inner.left;

    if (m_iEnsureVisible >= 0 && m_iEnsureVisible < static_cast<int>(m_items.size()) &&
        m_heights[static_cast<size_t>(m_iEnsureVisible)] >= 0 && m_pVerticalScrollBar &&
        m_pVerticalScrollBar->IsVisible()) {
        int64_t sum = 0;
        for (int i = 0; i < m_iEnsureVisible; ++i) {
            if (m_heights[static_cast<size_t>(i)] < 0) continue;
            const RECT pad = m_items[static_cast<size_t>(i)]->GetPadding();
            sum += int64_t{pad.top} + m_heights[static_cast<size_t>(i)] + pad.bottom + m_iChildPadding;
        }
        const RECT pad = m_items[static_cast<size_t>(m_iEnsureVisible)]->GetPadding();
        const int top = ClampCoord(sum + pad.top);
        const int bottom = ClampCoord(int64_t{top} + m_heights[static_cast<size_t>(m_iEnsureVisible)]);
        const int view = inner.bottom - inner.top;
        int pos = m_pVerticalScrollBar->GetScrollPos();
        if (top < pos) pos = top;
        else if (bottom > pos + view) pos = std::min(top, bottom - view);
        m_pVerticalScrollBar->SetScrollPos(pos);
    }
    m_iEnsureVisible = -1;

    const SIZE scroll = GetScrollPos();
    const int64_t x = int64_t{inner.left} - scroll.cx;
    int64_t y = int64_t{inner.top} - scroll.cy;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_heights[i] < 0) continue;
        CControlUI* row = m_items[i];
        const RECT pad = row->GetPadding();
        const RECT rcRow{ClampCoord(x + pad.left), ClampCoord(y + pad.top), ClampCoord(x + rowWidth - pad.right),
                         ClampCoord(y + pad.top + m_heights[i])};
        // One invalidation for the whole body below instead of one per row.
        row->SetPos(rcRow, false);
        y = int64_t{rcRow.bottom} + pad.bottom + m_iChildPadding;
    }
    if (m_pList) m_pList->PositionHeader(inner, rowWidth, scroll.cx);
    if (bNeedInvalidate) Invalidate();
}

void CListBodyUI::DoEvent(TEventUI& event) {
    // A click on the empty part of the body focuses it; its keys still steer the list.
    if (m_pList && (event.Type == UIEvent::KeyDown || event.Type == UIEvent::KeyUp || event.Type == UIEvent::Char)) {
        m_pList->DoEvent(event);
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListBodyUI::DoPaint(CCanvas& canvas, const RECT& rcPaint) {
    // Rows are placed top to bottom: painting stops at the first one below the area.
    PaintWithChildren(canvas, rcPaint, true);
}

} // namespace DuiLib
