#include "duilib/UIContainer.h"
#include <algorithm>
#include "duilib/UIFlexShare.h"
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"
#include "duilib/UIRect.h"
#include "duilib/UIScrollBar.h"

namespace DuiLib {

namespace {

constexpr int kWheelLines = 3;

struct Slot {
    CControlUI* control;
    int main;      // size along the layout axis
    int cross;     // size across it
    bool flexible; // main size shared from what is left
};

} // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    for (CControlUI* item : m_items) delete item;
    m_items.clear();
    delete m_pVerticalScrollBar;
    delete m_pHorizontalScrollBar;
}

LPCTSTR CContainerUI::GetClass() const { return L"ContainerUI"; }

LPVOID CContainerUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Container") == 0) return static_cast<CContainerUI*>(this);
    if (pstrName && wcscmp(pstrName, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
    if (iIndex < 0 || iIndex >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<size_t>(iIndex)];
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const {
    auto it = std::find(m_items.begin(), m_items.end(), pControl);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex) {
    const int from = GetItemIndex(pControl);
    if (from < 0 || iIndex < 0 || iIndex >= GetCount()) return false;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + iIndex, pControl);
    NeedUpdate();
    return true;
}

int CContainerUI::GetCount() const { return static_cast<int>(m_items.size()); }

bool CContainerUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!pControl || iIndex < 0 || iIndex > GetCount()) return false;
    // A control without a parent is in no container: only others are searched for, so
    // adding many new children one by one stays linear.
    if (pControl->GetParent() && GetItemIndex(pControl) >= 0) return false;
    pControl->SetManager(m_pManager, this, m_pManager != nullptr && m_bInited);
    m_items.insert(m_items.begin() + iIndex, pControl);
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index);
}

bool CContainerUI::RemoveAt(int iIndex) {
    CControlUI* item = GetItemAt(iIndex);
    if (!item) return false;
    m_items.erase(m_items.begin() + iIndex);
    ReleaseChild(item);
    NeedUpdate();
    Invalidate();
    return true;
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items) ReleaseChild(item);
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetScrollPos(0);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetScrollPos(0);
    NeedUpdate();
    Invalidate();
}

void CContainerUI::ReleaseChild(CControlUI* pControl) {
    if (!m_bAutoDestroy) {
        if (m_pManager) m_pManager->ForgetControl(pControl);
        pControl->SetManager(nullptr, nullptr, false);
        return;
    }
    if (m_pManager) {
        // The child may be the one whose event is running right now.
        m_pManager->AddDelayedCleanup(pControl);
    } else {
        delete pControl;
    }
}

void CContainerUI::SetInset(RECT rcInset) {
    m_rcInset = ClampRect(rcInset);
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int iPadding) {
    m_iChildPadding = ClampCoord(iPadding);
    NeedUpdate();
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal) {
    auto make = [this](bool horizontal) {
        auto* bar = new CScrollBarUI;
        bar->SetHorizontal(horizontal);
        bar->SetOwner(this);
        bar->SetVisible(false);
        bar->SetManager(m_pManager, this, false);
        return bar;
    };
    if (bEnableVertical && !m_pVerticalScrollBar) m_pVerticalScrollBar = make(false);
    if (!bEnableVertical && m_pVerticalScrollBar) {
        if (m_pManager) m_pManager->ForgetControl(m_pVerticalScrollBar);
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = nullptr;
    }
    if (bEnableHorizontal && !m_pHorizontalScrollBar) m_pHorizontalScrollBar = make(true);
    if (!bEnableHorizontal && m_pHorizontalScrollBar) {
        if (m_pManager) m_pManager->ForgetControl(m_pHorizontalScrollBar);
        delete m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = nullptr;
    }
    m_bScrollDefaultsApplied = false;
    ApplyScrollBarDefaults();
    NeedUpdate();
}

void CContainerUI::ApplyScrollBarDefaults() {
    if (m_bScrollDefaultsApplied || !m_pManager) return;
    m_bScrollDefaultsApplied = true;
    auto apply = [this](CScrollBarUI* bar, LPCTSTR perAxis) {
        if (!bar) return;
        if (LPCTSTR list = m_pManager->GetDefaultAttributeList(L"ScrollBar")) bar->ApplyAttributeList(list);
        if (LPCTSTR list = m_pManager->GetDefaultAttributeList(perAxis)) bar->ApplyAttributeList(list);
    };
    apply(m_pVerticalScrollBar, L"VScrollBar");
    apply(m_pHorizontalScrollBar, L"HScrollBar");
}

SIZE CContainerUI::GetScrollPos() const {
    SIZE sz{};
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) sz.cy = m_pVerticalScrollBar->GetScrollPos();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    return sz;
}

SIZE CContainerUI::GetScrollRange() const {
    SIZE sz{};
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) sz.cy = m_pVerticalScrollBar->GetScrollRange();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    return sz;
}

void CContainerUI::SetScrollPos(SIZE szPos) {
    const SIZE range = GetScrollRange();
    szPos.cx = ClampBetween(szPos.cx, 0, range.cx);
    szPos.cy = ClampBetween(szPos.cy, 0, range.cy);
    const SIZE old = GetScrollPos();
    if (old.cx == szPos.cx && old.cy == szPos.cy) return;
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetScrollPos(szPos.cy);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
    SetPos(m_rcItem, false);
    Invalidate();
    RaiseNotify(DUI_MSGTYPE_SCROLL, static_cast<WPARAM>(szPos.cx), static_cast<LPARAM>(szPos.cy));
}

void CContainerUI::LineUp() {
    SIZE sz = GetScrollPos();
    sz.cy -= m_pVerticalScrollBar ? m_pVerticalScrollBar->GetLineSize() : m_nScrollLine;
    SetScrollPos(sz);
}

void CContainerUI::LineDown() {
    SIZE sz = GetScrollPos();
    sz.cy += m_pVerticalScrollBar ? m_pVerticalScrollBar->GetLineSize() : m_nScrollLine;
    SetScrollPos(sz);
}

void CContainerUI::PageUp() {
    SIZE sz = GetScrollPos();
    const RECT rc = GetInnerRect();
    sz.cy -= std::max(1, static_cast<int>(rc.bottom - rc.top));
    SetScrollPos(sz);
}

void CContainerUI::PageDown() {
    SIZE sz = GetScrollPos();
    const RECT rc = GetInnerRect();
    sz.cy += std::max(1, static_cast<int>(rc.bottom - rc.top));
    SetScrollPos(sz);
}

void CContainerUI::HomeUp() {
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown() {
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft() {
    SIZE sz = GetScrollPos();
    sz.cx -= m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetLineSize() : m_nScrollLine;
    SetScrollPos(sz);
}

void CContainerUI::LineRight() {
    SIZE sz = GetScrollPos();
    sz.cx += m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetLineSize() : m_nScrollLine;
    SetScrollPos(sz);
}

void CContainerUI::EnsureVisible(const RECT& rc) {
    const RECT inner = GetInnerRect();
    SIZE sz = GetScrollPos();
    if (rc.top < inner.top) sz.cy -= inner.top - rc.top;
    else if (rc.bottom > inner.bottom) sz.cy += std::min(rc.bottom - inner.bottom, rc.top - inner.top);
    SetScrollPos(sz);
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    CControlUI::SetManager(pManager, pParent, bInit);
    for (CControlUI* item : m_items) item->SetManager(pManager, this, bInit);
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    ApplyScrollBarDefaults();
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    const bool hitTest = (uFlags & UIFIND_HITTEST) != 0;
    if (hitTest && !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData))) return nullptr;

    auto self = [&]() -> CControlUI* {
        if (hitTest && !m_bMouseEnabled) return nullptr;
        return proc(this, pData);
    };
    if (uFlags & UIFIND_ME_FIRST) {
        if (CControlUI* found = self()) return found;
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (!bar) continue;
        if (CControlUI* found = bar->FindControl(proc, pData, uFlags)) return found;
    }
    bool searchChildren = true;
    if (hitTest) {
        const RECT inner = GetInnerRect();
        searchChildren = m_bMouseChildEnabled && ::PtInRect(&inner, *static_cast<POINT*>(pData));
    }
    if (searchChildren) {
        if (uFlags & UIFIND_TOP_FIRST) {
            for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
                if (CControlUI* found = (*it)->FindControl(proc, pData, uFlags)) return found;
            }
        } else {
            for (CControlUI* item : m_items) {
                if (CControlUI* found = item->FindControl(proc, pData, uFlags)) return found;
            }
        }
    }
    if (uFlags & UIFIND_ME_FIRST) return nullptr;
    return self();
}

RECT CContainerUI::GetInsetRect() const {
    RECT rc = ShrinkRect(m_rcItem, m_rcInset);
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

RECT CContainerUI::GetInnerRect() const {
    RECT rc = GetInsetRect();
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

bool CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired) {
    CScrollBarUI* vsb = m_pVerticalScrollBar;
    CScrollBarUI* hsb = m_pHorizontalScrollBar;
    const bool vWas = vsb && vsb->IsVisible();
    const bool hWas = hsb && hsb->IsVisible();
    const int vWidth = vsb ? vsb->GetFixedWidth() : 0;
    const int hHeight = hsb ? hsb->GetFixedHeight() : 0;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;

    // Overflow on one axis narrows the other, so decide both together.
    bool vShow = vsb && cyRequired > height;
    bool hShow = hsb && cxRequired > width - (vShow ? vWidth : 0);
    if (!vShow && vsb && hShow) vShow = cyRequired > height - hHeight;

    const int viewH = height - (hShow ? hHeight : 0);
    const int viewW = width - (vShow ? vWidth : 0);
    if (vsb) {
        vsb->SetScrollRange(vShow ? cyRequired - viewH : 0);
        vsb->SetPageSize(viewH);
        if (!vShow) vsb->SetScrollPos(0);
        vsb->m_bVisible = vShow;   // no re-layout request: we are the layout
        if (vShow) vsb->SetPos({rc.right - vWidth, rc.top, rc.right, rc.top + viewH}, false);
    }
    if (hsb) {
        hsb->SetScrollRange(hShow ? cxRequired - viewW : 0);
        hsb->SetPageSize(viewW);
        if (!hShow) hsb->SetScrollPos(0);
        hsb->m_bVisible = hShow;
        if (hShow) hsb->SetPos({rc.left, rc.bottom - hHeight, rc.left + viewW, rc.bottom}, false);
    }
    return vWas != vShow || hWas != hShow;
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    ProcessScrollBar(ShrinkRect(m_rcItem, m_rcInset), 0, 0);
    const RECT inner = GetInnerRect();
    for (CControlUI* item : m_items) {
        if (!item->IsVisible()) continue;
        const RECT pad = item->GetPadding();
        RECT child = ShrinkRect(inner, pad);
        const SIZE fixed = item->EstimateSize({inner.right - inner.left, inner.bottom - inner.top});
        if (fixed.cx > 0) child.right = ClampCoord(int64_t{child.left} + ClampBetween(fixed.cx, item->GetMinWidth(), item->GetMaxWidth()));
        if (fixed.cy > 0) child.bottom = ClampCoord(int64_t{child.top} + ClampBetween(fixed.cy, item->GetMinHeight(), item->GetMaxHeight()));
        item->SetPos(child, bNeedInvalidate);
    }
}

void CContainerUI::LayoutLinear(bool bVertical) {
    const RECT inset = GetInsetRect();

    // The axis-neutral view of a rectangle and a size.
    auto mainOf = [bVertical](SIZE s) { return bVertical ? s.cy : s.cx; };
    auto crossOf = [bVertical](SIZE s) { return bVertical ? s.cx : s.cy; };
    auto padBefore = [bVertical](const RECT& p) { return bVertical ? p.top : p.left; };
    auto padAfter = [bVertical](const RECT& p) { return bVertical ? p.bottom : p.right; };
    auto crossBefore = [bVertical](const RECT& p) { return bVertical ? p.left : p.top; };
    auto crossAfter = [bVertical](const RECT& p) { return bVertical ? p.right : p.bottom; };
    auto minMain = [bVertical](CControlUI* c) { return bVertical ? c->GetMinHeight() : c->GetMinWidth(); };
    auto maxMain = [bVertical](CControlUI* c) { return bVertical ? c->GetMaxHeight() : c->GetMaxWidth(); };
    auto minCross = [bVertical](CControlUI* c) { return bVertical ? c->GetMinWidth() : c->GetMinHeight(); };
    auto maxCross = [bVertical](CControlUI* c) { return bVertical ? c->GetMaxWidth() : c->GetMaxHeight(); };

    // Sums are 64-bit: many children with huge sizes or paddings must not wrap.
    std::vector<Slot> slots;
    int64_t mainRequired = 0;
    int64_t crossRequired = 0;
    RECT inner{};
    // Measure with the bars as they are; if that changes which bars show, measure again.
    for (int pass = 0; pass < 2; ++pass) {
        inner = GetInnerRect();
        const SIZE avail{inner.right - inner.left, inner.bottom - inner.top};
        const int availMain = mainOf(avail);
        const int availCross = crossOf(avail);
        slots.clear();
        int64_t used = 0;
        for (CControlUI* item : m_items) {
            if (!item->IsVisible()) continue;
            const SIZE sz = item->EstimateSize(avail);
            const RECT pad = item->GetPadding();
            Slot s{item, mainOf(sz), crossOf(sz), mainOf(sz) <= 0};
            if (!s.flexible) s.main = ClampBetween(s.main, minMain(item), maxMain(item));
            if (s.cross <= 0) s.cross = ClampCoord(int64_t{availCross} - crossBefore(pad) - crossAfter(pad));
            s.cross = ClampBetween(s.cross, minCross(item), maxCross(item));
            used += int64_t{padBefore(pad)} + padAfter(pad) + (s.flexible ? 0 : s.main);
            slots.push_back(s);
        }
        if (!slots.empty()) used += static_cast<int64_t>(slots.size() - 1) * m_iChildPadding;

        std::vector<FlexBounds> flexBounds;
        for (const Slot& s : slots) {
            if (s.flexible) flexBounds.push_back({minMain(s.control), maxMain(s.control)});
        }
        const std::vector<int> shares = ShareFlexibleSpace(flexBounds, availMain - used);
        size_t next = 0;
        for (Slot& s : slots) {
            if (s.flexible) s.main = shares[next++];
        }

        mainRequired = 0;
        crossRequired = 0;
        for (const Slot& s : slots) {
            const RECT pad = s.control->GetPadding();
            mainRequired += int64_t{padBefore(pad)} + s.main + padAfter(pad);
            crossRequired = std::max(crossRequired, int64_t{crossBefore(pad)} + s.cross + crossAfter(pad));
        }
        if (!slots.empty()) mainRequired += static_cast<int64_t>(slots.size() - 1) * m_iChildPadding;

        const int cx = ClampCoord(bVertical ? crossRequired : mainRequired);
        const int cy = ClampCoord(bVertical ? mainRequired : crossRequired);
        if (!ProcessScrollBar(inset, cx, cy)) break;
    }

    inner = GetInnerRect();
    const SIZE scroll = GetScrollPos();
    int64_t pos = int64_t{bVertical ? inner.top : inner.left} - (bVertical ? scroll.cy : scroll.cx);
    const int64_t crossStart = int64_t{bVertical ? inner.left : inner.top} - (bVertical ? scroll.cx : scroll.cy);
    for (const Slot& s : slots) {
        const RECT pad = s.control->GetPadding();
        pos += padBefore(pad);
        const int64_t c0 = crossStart + crossBefore(pad);
        const int m0 = ClampCoord(pos), m1 = ClampCoord(pos + s.main);
        const int x0 = ClampCoord(c0), x1 = ClampCoord(c0 + s.cross);
        s.control->SetPos(bVertical ? RECT{x0, m0, x1, m1} : RECT{m0, x0, m1, x1}, true);
        pos += int64_t{s.main} + padAfter(pad) + m_iChildPadding;
    }
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEvent::ScrollWheel) {
        if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() && m_pVerticalScrollBar->IsEnabled()) {
            for (int i = 0; i < kWheelLines; ++i) {
                if (event.wParam == SB_LINEUP) LineUp();
                else LineDown();
            }
            return;
        }
        if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible() && m_pHorizontalScrollBar->IsEnabled()) {
            for (int i = 0; i < kWheelLines; ++i) {
                if (event.wParam == SB_LINEUP) LineLeft();
                else LineRight();
            }
            return;
        }
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::DoPaint(CCanvas& canvas, const RECT& rcPaint) { PaintWithChildren(canvas, rcPaint, false); }

void CContainerUI::PaintWithChildren(CCanvas& canvas, const RECT& rcPaint, bool bStacked) {
    RECT rcDraw;
    if (!::IntersectRect(&rcDraw, &rcPaint, &m_rcItem)) return;
    CControlUI::DoPaint(canvas, rcDraw);

    const RECT inner = GetInnerRect();
    RECT rcChildren;
    if (::IntersectRect(&rcChildren, &rcDraw, &inner)) {
        const RECT saved = canvas.PushClip(rcChildren);
        for (CControlUI* item : m_items) {
            if (!item->IsVisible()) continue;
            const RECT& rc = item->GetPos();
            if (bStacked && rc.top >= rcChildren.bottom && rc.bottom > rc.top) break;
            RECT overlap;
            if (::IntersectRect(&overlap, &rcChildren, &rc)) item->DoPaint(canvas, rcChildren);
        }
        canvas.RestoreClip(saved);
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar && bar->IsVisible()) bar->DoPaint(canvas, rcDraw);
    }
}

void CContainerUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = CContainerUI;
    static const TAttributeTable<C> table{
        {L"inset", [](C& c, LPCTSTR v) { RECT rc{}; ParseRect(v, rc); c.SetInset(rc); }},
        {L"childpadding", [](C& c, LPCTSTR v) { int n = 0; ParseInt(v, n); c.SetChildPadding(n); }},
        {L"mousechild", [](C& c, LPCTSTR v) { c.SetMouseChildEnabled(ParseBool(v)); }},
        {L"vscrollbar", [](C& c, LPCTSTR v) { c.EnableScrollBar(ParseBool(v), c.GetHorizontalScrollBar() != nullptr); }},
        {L"hscrollbar", [](C& c, LPCTSTR v) { c.EnableScrollBar(c.GetVerticalScrollBar() != nullptr, ParseBool(v)); }},
        {L"scrollstepsize", [](C& c, LPCTSTR v) {
            int n = 0;
            if (ParseInt(v, n) && n > 0) {
                c.m_nScrollLine = n;
                if (c.m_pVerticalScrollBar) c.m_pVerticalScrollBar->SetLineSize(n);
                if (c.m_pHorizontalScrollBar) c.m_pHorizontalScrollBar->SetLineSize(n);
            }
        }},
    };
    if (!table.Apply(*this, pstrName, pstrValue)) CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---- Vertical and horizontal layouts

LPCTSTR CVerticalLayoutUI::GetClass() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayoutLinear(true);
}

LPCTSTR CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayoutLinear(false);
}

// ---- Tab layout

LPCTSTR CTabLayoutUI::GetClass() const { return L"TabLayoutUI"; }

LPVOID CTabLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"TabLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    if (m_iCurSel < 0) {
        m_iCurSel = iIndex;
        pControl->SetVisible(true);
    } else {
        if (iIndex <= m_iCurSel) ++m_iCurSel;
        pControl->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index);
}

bool CTabLayoutUI::RemoveAt(int iIndex) {
    if (!CContainerUI::RemoveAt(iIndex)) return false;
    if (GetCount() == 0) {
        m_iCurSel = -1;
    } else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    } else if (iIndex == m_iCurSel) {
        m_iCurSel = std::min(m_iCurSel, GetCount() - 1);
        ShowOnly(m_iCurSel);
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int iIndex) {
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (iIndex == m_iCurSel) return true;
    const int old = m_iCurSel;
    m_iCurSel = iIndex;
    ShowOnly(iIndex);
    NeedUpdate();
    RaiseNotify(DUI_MSGTYPE_TABSELECT, static_cast<WPARAM>(iIndex), static_cast<LPARAM>(old));
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && SelectItem(index);
}

void CTabLayoutUI::ShowOnly(int iIndex) {
    for (int i = 0; i < GetCount(); ++i) m_items[static_cast<size_t>(i)]->SetVisible(i == iIndex);
}

void CTabLayoutUI::DoInit() {
    if (m_iPendingSel >= 0 && m_iPendingSel < GetCount()) m_iCurSel = m_iPendingSel;
    m_iPendingSel = -1;
    if (m_iCurSel >= 0) ShowOnly(m_iCurSel);
}

void CTabLayoutUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (pstrName && wcscmp(pstrName, L"selectedid") == 0) {
        int n = 0;
        if (!ParseInt(pstrValue, n)) return;
        if (m_bInited) SelectItem(n);
        else m_iPendingSel = n;
        return;
    }
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

} // namespace DuiLib
