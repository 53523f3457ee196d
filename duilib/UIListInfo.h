#pragma once
// What lists and combo boxes share: the row look (TListInfoUI) and the interfaces
// between an owner (list or combo) and its rows.
#include <windows.h>
#include "duilib/UIDefines.h"
#include "duilib/UIRender.h"
#include "duilib/UIString.h"

namespace DuiLib {

class CControlUI;
class CContainerUI;
class CListHeaderUI;
class IContainerUI;

// Columns a list paints at most.
inline constexpr int kListMaxColumns = 32;
// Height of a row whose layout gives none.
inline constexpr int kListDefaultRowHeight = 22;

// Look of the rows of one owner; filled from the owner's "item*" attributes.
struct TListInfoUI {
    int nColumns = 0;                          // 0: one column spanning the row
    RECT rcColumn[kListMaxColumns]{};          // left/right as offsets from the row's left edge
    int nFont = -1;                            // index into the owner's fonts; -1 default
    UINT uTextStyle = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    RECT rcTextPadding{};
    DWORD dwTextColor = 0;                     // 0 = the manager's default text colour
    DWORD dwBkColor = 0;
    CDuiString sBkImage;
    bool bAlternateBk = false;                 // odd rows a shade darker (or dwAltBkColor)
    DWORD dwAltBkColor = 0;
    DWORD dwSelectedTextColor = 0;
    DWORD dwSelectedBkColor = 0;
    CDuiString sSelectedImage;
    DWORD dwHotTextColor = 0;
    DWORD dwHotBkColor = 0;
    CDuiString sHotImage;
    DWORD dwDisabledTextColor = 0;
    DWORD dwDisabledBkColor = 0;
    CDuiString sDisabledImage;
    DWORD dwLineColor = 0;                     // a 1-pixel line under each row when set
    bool bShowHtml = false;                    // accepted; text is drawn plain
};

// Applies one "item*" attribute (itemfont, itemalign, itembkcolor, ...); false when the
// name is not a row attribute.
bool ApplyListInfoAttribute(TListInfoUI& info, LPCTSTR pstrName, LPCTSTR pstrValue);

// The first visible, enabled row from iStart on, stepping by iStep (+1 or -1); -1 for none.
int FindSelectableRow(const IContainerUI& rows, int iStart, int iStep);

// Tells each row from iFrom on its index.
void ReindexRows(const IContainerUI& rows, int iFrom);

// What NavigateRows answers for a key that does not move through rows.
inline constexpr int kNotARowKey = -2;
// The row a key moves a selection (or highlight) at iCurrent to: Up, Down, Home, End,
// and PageUp/PageDown by iPageRows when that is above 0. -1 when there is no row to go
// to, kNotARowKey for other keys.
int NavigateRows(const IContainerUI& rows, int iCurrent, WPARAM key, int iPageRows);

class IListItemUI;
// The row interface of a control, null when it is no row (or null itself).
IListItemUI* AsListItem(CControlUI* pControl);

// Supplies the texts a list paints. The first argument is the row being painted.
class IListCallbackUI {
public:
    virtual LPCTSTR GetItemText(CControlUI* pList, int iItem, int iSubItem) = 0;
    virtual void SetItemText(CControlUI* pList, int iItem, int iSubItem, LPCTSTR text) = 0;
    virtual ~IListCallbackUI() = default;
};

// A control that holds selectable rows: a list or a combo box.
class IListOwnerUI {
public:
    virtual ~IListOwnerUI() = default;
    virtual TListInfoUI* GetListInfo() = 0;
    // Index of the selected row, -1 for none.
    virtual int GetCurSel() const = 0;
    // Selects a row; raises "itemselect" (wParam new index, lParam old) before returning,
    // only when the selection changed. False for an index the owner does not accept.
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false) = 0;
    // A row marked selected in the layout: selected without any notification.
    virtual void SelectItemQuietly(int iIndex) = 0;
    // Keys and wheel turns that reached a row.
    virtual void DoEvent(TEventUI& event) = 0;
};

// The list control's own interface (GetInterface(L"IList")).
class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;              // the scrolled body holding the rows
    virtual IListCallbackUI* GetTextCallback() const = 0;
    // Installs the text source; not owned, null removes it.
    virtual void SetTextCallback(IListCallbackUI* pCallback) = 0;
};

// A row of a list or combo (GetInterface(L"ListItem")).
class IListItemUI {
public:
    virtual ~IListItemUI() = default;
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() const = 0;
    // The list or combo the row belongs to; null detaches it.
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    // The row's look only; the owner keeps the selected index.
    virtual void SetSelected(bool bSelected) = 0;
    virtual bool IsHot() const = 0;
    virtual void SetHot(bool bHot) = 0;
    virtual void DrawItemBk(CCanvas& canvas, const RECT& rcItem) = 0;
    virtual void DrawItemText(CCanvas& canvas, const RECT& rcItem) = 0;
};

} // namespace DuiLib
