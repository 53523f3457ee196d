#pragma once
// CListUI: a header over a scrolled body of rows, with at most one selected row.
#include "duilib/UIContainer.h"
#include "duilib/UIListBody.h"
#include "duilib/UIListElement.h"
#include "duilib/UIListHeader.h"
#include "duilib/UIListInfo.h"

namespace DuiLib {

// Layout attributes: header="hidden", the item* row attributes (UIListInfo.h),
// vscrollbar/hscrollbar (the body's bars), and those of a vertical layout.
// A ListHeader child replaces the header; ListHeaderItem children join it; every other
// child is a row. Indexes, counts and the container operations below count rows only.
class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();
    LPCTSTR GetClass() const override;                  // L"ListUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "List", "IList", "IListOwner"

    // IListUI
    CListHeaderUI* GetHeader() const override { return m_pHeader; }
    CContainerUI* GetList() const override;
    IListCallbackUI* GetTextCallback() const override { return m_pCallback; }
    void SetTextCallback(IListCallbackUI* pCallback) override;

    // IListOwnerUI
    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    // -1 clears the selection; another index outside the rows is refused (false).
    // Raises "itemselect" before returning when the selection changed; scrolls the row
    // into view; bTakeFocus gives the row the keyboard.
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    void SelectItemQuietly(int iIndex) override;
    // Up, Down, Home, End, PageUp, PageDown move the selection; the wheel scrolls.
    void DoEvent(TEventUI& event) override;

    // Rows. The list owns added rows. Removing rows before the selected one keeps the
    // same row selected; removing the selected row leaves none. Neither raises "itemselect".
    CControlUI* GetItemAt(int iIndex) const override;   // null out of range
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    bool IsHeaderVisible() const;
    void SetHeaderVisible(bool bVisible);
    // Scrolls a row into view (at the next layout when rows changed since the last one).
    void EnsureItemVisible(int iIndex);

    // Scrolling is the body's.
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

    // For the body's layout: sets the column offsets for a view cxView wide and answers
    // the row width. A shown header scrolls sideways with the rows when its columns are
    // wider than the view; with a hidden header the last column ends at the view's edge.
    int LayoutColumns(int cxView);
    // For the body's layout: places the header over the rows, following their scrolling.
    void PositionHeader(const RECT& rcBodyInner, int cxRows, int scrollX);

private:
    void ReplaceHeader(CListHeaderUI* pHeader);
    void MarkSelected(int iIndex, bool bSelected);
    // Rows visible in one page of the body, at least 1.
    int PageRows() const;

    CListHeaderUI* m_pHeader;
    CListBodyUI* m_pList;
    TListInfoUI m_ListInfo;
    IListCallbackUI* m_pCallback = nullptr;
    int m_iCurSel = -1;
    bool m_bHeaderShown = true;   // the "header" attribute, kept for a header given later
};

} // namespace DuiLib
