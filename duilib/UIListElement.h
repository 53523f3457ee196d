#pragma once
// Rows of lists and combo boxes: the base row, a one-text row and a row of columns.
#include <vector>
#include "duilib/UIControl.h"
#include "duilib/UIListInfo.h"

namespace DuiLib {

class IListUI;

// A selectable row. Its look (colours, font, alignment) comes from the owner's list info;
// a click selects it through the owner and raises "itemclick", a double-click "itemdbclick".
class CListElementUI : public CControlUI, public IListItemUI {
public:
    LPCTSTR GetClass() const override;                  // L"ListElementUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "ListElement", "ListItem"

    // IListItemUI
    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() const override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override { return m_bSelected; }
    void SetSelected(bool bSelected) override;
    bool IsHot() const override { return m_bHot; }
    void SetHot(bool bHot) override;
    void DrawItemBk(CCanvas& canvas, const RECT& rcItem) override;
    void DrawItemText(CCanvas& canvas, const RECT& rcItem) override;

    // The row's own text padding, used instead of the owner's itemtextpadding.
    void SetTextPadding(RECT rc);

    bool Activate() override;                           // selects the row
    SIZE EstimateSize(SIZE szAvailable) override;       // its height, or the default row height
    void DoEvent(TEventUI& event) override;
    void DoPaint(CCanvas& canvas, const RECT& rcPaint) override;
    // "selected" (selects the row without a notification), "textpadding", and the base's.
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    TListInfoUI* Info() const { return m_pOwner ? m_pOwner->GetListInfo() : nullptr; }
    // Rows may be shown in a combo's drop-down window: fonts and default colours come
    // from the owner's window.
    CPaintManagerUI* StyleManager() const;
    DWORD RowTextColor() const;
    // rcItem minus the text padding in force.
    RECT TextRect(const RECT& rcItem) const;
    void DrawRowText(CCanvas& canvas, const RECT& rc, LPCTSTR text);

    int m_iIndex = -1;
    IListOwnerUI* m_pOwner = nullptr;
    CControlUI* m_pOwnerControl = nullptr;
    bool m_bSelected = false;
    bool m_bHot = false;
    bool m_bOwnTextPadding = false;
    RECT m_rcTextPadding{};
};

// A row showing its text (the "text" attribute) in the owner's row style.
class CListLabelElementUI : public CListElementUI {
public:
    LPCTSTR GetClass() const override;                  // L"ListLabelElementUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "ListLabelElement"
    void DrawItemText(CCanvas& canvas, const RECT& rcItem) override;
};

// A row of columns laid out by the list's header. Column k shows the text the list's
// text callback gives for (this row, its index, k) when one is installed, else its own.
class CListTextElementUI : public CListLabelElementUI {
public:
    LPCTSTR GetClass() const override;                  // L"ListTextElementUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "ListTextElement"

    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    // The row's own text of a column (empty when never set).
    CDuiString GetText(int iColumn) const;
    void SetText(int iColumn, LPCTSTR pstrText);

    void SetOwner(CControlUI* pOwner) override;
    void DrawItemText(CCanvas& canvas, const RECT& rcItem) override;

private:
    IListUI* m_pList = nullptr;   // the owner when it is a list (for its text callback)
    std::vector<CDuiString> m_aTexts;
};

} // namespace DuiLib
