#pragma once
// Containers: the child-list interface, the base container with scroll bars, and the
// three layouts (vertical, horizontal, one page at a time).
#include <vector>
#include "duilib/UIControl.h"

namespace DuiLib {

class CScrollBarUI;

// A control holding an ordered list of children (GetInterface(L"IContainer")).
class IContainerUI {
public:
    virtual ~IContainerUI() = default;
    virtual CControlUI* GetItemAt(int iIndex) const = 0;          // null out of range
    virtual int GetItemIndex(CControlUI* pControl) const = 0;     // -1 when not a child
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;                   // takes ownership
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;     // takes ownership
    virtual bool Remove(CControlUI* pControl) = 0;                // destroys the child
    virtual bool RemoveAt(int iIndex) = 0;                        // destroys the child
    virtual void RemoveAll() = 0;                                 // destroys every child
};

// Children laid over each other in the inner rectangle; base of the layouts.
// Removed children are destroyed once the current message is done, so a child may
// remove itself from inside its own event or notification.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    LPCTSTR GetClass() const override;                  // L"ContainerUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Container", "IContainer"

    // IContainerUI
    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;
    // When false, removed children are detached but not destroyed (the caller owns them).
    void SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }
    bool IsAutoDestroy() const { return m_bAutoDestroy; }

    // Inner margins (left, top, right, bottom) and the gap between children.
    RECT GetInset() const { return m_rcInset; }
    void SetInset(RECT rcInset);
    int GetChildPadding() const { return m_iChildPadding; }
    void SetChildPadding(int iPadding);
    // false makes every child transparent to hit tests.
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool bEnable = true) { m_bMouseChildEnabled = bEnable; }

    // Scrolling: bars exist once enabled, and show only while the content overflows.
    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
    virtual CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    // Clamps to the range, moves the bars and re-lays out the children.
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    // Scrolls just enough for rc (client coordinates) to be visible vertically.
    void EnsureVisible(const RECT& rc);

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID pData, UINT uFlags) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(CCanvas& canvas, const RECT& rcPaint) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    // The control minus its inset, never inverted.
    RECT GetInsetRect() const;
    // The rectangle children live in: the control minus inset and visible scroll bars.
    RECT GetInnerRect() const;
    // Shows or hides the bars for content of this size inside rc; true when a bar's
    // visibility changed (the caller lays out again).
    virtual bool ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);
    void ApplyScrollBarDefaults();
    // The control, then its visible children clipped to the inner rectangle, then the bars.
    // bStacked: children stand top to bottom, so the first one below rcPaint ends the walk.
    void PaintWithChildren(CCanvas& canvas, const RECT& rcPaint, bool bStacked);
    // Fixed sizes first, the rest shared equally along one axis; scrolls on overflow.
    void LayoutLinear(bool bVertical);
    // Detaches one child: forgets it in the manager, then destroys it later (or never,
    // without auto-destroy).
    void ReleaseChild(CControlUI* pControl);

    std::vector<CControlUI*> m_items;
    RECT m_rcInset{};
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
    bool m_bMouseChildEnabled = true;
    bool m_bScrollDefaultsApplied = false;
    int m_nScrollLine = 8;
    CScrollBarUI* m_pVerticalScrollBar = nullptr;
    CScrollBarUI* m_pHorizontalScrollBar = nullptr;
};

// Children stacked top to bottom: fixed heights first, the rest shared equally.
class CVerticalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;                  // L"VerticalLayoutUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "VerticalLayout"
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

// Children placed left to right: fixed widths first, the rest shared equally.
class CHorizontalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;                  // L"HorizontalLayoutUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "HorizontalLayout"
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

// Pages filling the same rectangle; only the selected one is visible.
class CTabLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;                  // L"TabLayoutUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "TabLayout"

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;
    int GetCurSel() const { return m_iCurSel; }          // -1 when there is no page
    // Shows page iIndex and hides the others; false out of range.
    virtual bool SelectItem(int iIndex);
    bool SelectItem(CControlUI* pControl);
    void DoInit() override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

private:
    void ShowOnly(int iIndex);
    int m_iCurSel = -1;
    int m_iPendingSel = -1;   // "selectedid" given before the pages existed
};

} // namespace DuiLib
