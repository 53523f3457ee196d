#pragma once
// CComboUI: a drop-down list box. Its face shows the selected item's text; a click opens
// a drop-down window of our own listing the items.
#include "duilib/UIContainer.h"
#include "duilib/UIListInfo.h"
#include "duilib/UIPressState.h"

namespace DuiLib {

class CComboDropWnd;

// Layout attributes: droptype ("droplist", the only kind), dropboxsize ("cx,cy": width,
// 0 for the combo's own, and the most height), dropbox (attributes of the drop-down's
// list, such as bkcolor or bordercolor), vscrollbar (a bar in the drop-down when the
// items overflow), normalimage/hotimage/pushedimage/focusedimage/disabledimage, textpadding,
// font, textcolor, disabledtextcolor, align, and the item* row attributes (UIListInfo.h).
// Children are the items, usually ListLabelElement rows.
class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;
    LPCTSTR GetClass() const override;                  // L"ComboUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Combo", "IListOwner"

    // IListOwnerUI
    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    // Selects item iIndex and raises "itemselect" (wParam new, lParam old) before returning,
    // only when the selection changed. An index outside the items (say 7 of three, or -1)
    // is ignored: false, the selection stays as it was.
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    void SelectItemQuietly(int iIndex) override;
    // Closed: Up/Down/Home/End change the selection, F4 or Alt+Down opens the drop-down.
    // Open: the keys steer the drop-down (Enter chooses, Escape closes); losing the
    // keyboard closes it.
    void DoEvent(TEventUI& event) override;

    // Items. Adding or removing items closes an open drop-down first. Removing the
    // selected item leaves none selected; no "itemselect" either way.
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;

    // Takes the keyboard, opens the drop-down under the combo (above it when the screen
    // ends) and raises "dropdown". Choosing an item there selects it and closes the
    // window; Escape or a click elsewhere closes it unchanged.
    bool Activate() override;
    bool IsDropped() const { return m_pDropWnd != nullptr; }
    // The open drop-down's native window, null when closed.
    HWND GetDropWindow() const;
    // Closes the drop-down without choosing (the window goes once its close is handled).
    void CloseDropDown();

    SIZE GetDropBoxSize() const { return m_szDropBox; }
    void SetDropBoxSize(SIZE szDropBox) { m_szDropBox = szDropBox; }
    LPCTSTR GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
    void SetDropBoxAttributeList(LPCTSTR pstrList) { m_sDropBoxAttributes = pstrList; }
    bool IsDropScrollBar() const { return m_bDropScrollBar; }

    // The face: the selected item's text with the combo's text attributes (the items'
    // font and colour when the combo has none).
    CDuiString GetText() const override;
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    void SetFont(int index);
    void SetTextColor(DWORD dwColor);
    void SetNormalImage(LPCTSTR pStrImage);
    void SetHotImage(LPCTSTR pStrImage);
    void SetPushedImage(LPCTSTR pStrImage);
    void SetFocusedImage(LPCTSTR pStrImage);
    void SetDisabledImage(LPCTSTR pStrImage);

    void SetVisible(bool bVisible = true) override;     // hiding closes the drop-down
    void SetEnabled(bool bEnable = true) override;      // so does disabling
    // The items are not laid out in the face; hit tests end at the combo itself.
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID pData, UINT uFlags) override;
    void DoPaint(CCanvas& canvas, const RECT& rcPaint) override;
    void PaintStatusImage(CCanvas& canvas) override;
    void PaintText(CCanvas& canvas) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

private:
    friend class CComboDropWnd;
    void OnDropClosed();
    // Takes the items back from an open drop-down and closes it.
    void ReclaimItems();
    void MarkSelected(int iIndex, bool bSelected);

    TListInfoUI m_ListInfo;
    int m_iCurSel = -1;
    CComboDropWnd* m_pDropWnd = nullptr;
    bool m_bDestroying = false;
    CPressState m_state;   // pushed while the list is open
    SIZE m_szDropBox{0, 150};
    CDuiString m_sDropBoxAttributes;
    bool m_bDropScrollBar = true;

    RECT m_rcTextPadding{};
    int m_iFont = -1;                  // -1: the items' font
    DWORD m_dwTextColor = 0;           // 0: the items' text colour
    DWORD m_dwDisabledTextColor = 0;
    UINT m_uTextAlign = DT_LEFT;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
};

} // namespace DuiLib
