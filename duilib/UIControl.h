#pragma once
// CControlUI: the windowless control every element of a layout derives from.
#include <windows.h>
#include "duilib/UIDefines.h"
#include "duilib/UIAttributes.h"
#include "duilib/UIRender.h"
#include "duilib/UIString.h"

namespace DuiLib {

class CPaintManagerUI;

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Identity
    const CDuiString& GetName() const { return m_sName; }
    void SetName(LPCTSTR pstrName);
    virtual LPCTSTR GetClass() const;                      // L"ControlUI"
    // A typed pointer for a capability name ("Control", "Container", "IContainer",
    // "Label", "Button", ...) or null; cast the result to the type the name stands for.
    virtual LPVOID GetInterface(LPCTSTR pstrName);

    // Tree
    CPaintManagerUI* GetManager() const { return m_pManager; }
    CControlUI* GetParent() const { return m_pParent; }
    // Attaches to a window's manager and a parent; bInit runs DoInit once the manager is known.
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    // Walks this subtree (see UIFIND_*), returning the first control the proc accepts.
    virtual CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID pData, UINT uFlags);
    // Runs once, when the control first has a manager.
    void Init();
    virtual void DoInit();

    // Texts
    virtual CDuiString GetText() const;
    virtual void SetText(LPCTSTR pstrText);
    CDuiString GetToolTip() const { return m_sToolTip; }
    void SetToolTip(LPCTSTR pstrText);
    CDuiString GetUserData() const { return m_sUserData; }
    void SetUserData(LPCTSTR pstrText);
    UINT_PTR GetTag() const { return m_pTag; }
    void SetTag(UINT_PTR pTag) { m_pTag = pTag; }

    // Looks
    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD dwColor);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD dwColor);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int nSize);
    SIZE GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(SIZE cxyRound);
    LPCTSTR GetBkImage() const { return m_sBkImage; }
    void SetBkImage(LPCTSTR pStrImage);
    // Draws an image attribute inside rc (the control's rectangle by default); false if missing.
    bool DrawImage(CCanvas& canvas, LPCTSTR pStrImage, const RECT* rc = nullptr);

    // Geometry (client coordinates of the window)
    virtual const RECT& GetPos() const { return m_rcItem; }
    virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
    int GetWidth() const { return m_rcItem.right - m_rcItem.left; }
    int GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
    int GetX() const { return m_rcItem.left; }
    int GetY() const { return m_rcItem.top; }
    // Outer margins: left, top, right, bottom.
    RECT GetPadding() const { return m_rcPadding; }
    void SetPadding(RECT rcPadding);
    int GetFixedWidth() const { return m_cxyFixed.cx; }   // 0 = flexible
    void SetFixedWidth(int cx);
    int GetFixedHeight() const { return m_cxyFixed.cy; }  // 0 = flexible
    void SetFixedHeight(int cy);
    int GetMinWidth() const { return m_cxyMin.cx; }
    void SetMinWidth(int cx);
    int GetMaxWidth() const { return m_cxyMax.cx; }
    void SetMaxWidth(int cx);
    int GetMinHeight() const { return m_cxyMin.cy; }
    void SetMinHeight(int cy);
    int GetMaxHeight() const { return m_cxyMax.cy; }
    void SetMaxHeight(int cy);
    // The size a layout should give this control; 0 on an axis means "share the rest".
    virtual SIZE EstimateSize(SIZE szAvailable);

    // State
    virtual bool IsVisible() const { return m_bVisible; }
    virtual void SetVisible(bool bVisible = true);   // re-lays out the parent
    virtual bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool bEnable = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    void SetMouseEnabled(bool bEnable = true) { m_bMouseEnabled = bEnable; }
    bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
    void SetKeyboardEnabled(bool bEnable = true) { m_bKeyboardEnabled = bEnable; }
    virtual bool IsFocused() const;
    virtual void SetFocus();
    // The control's action (a button's click); false when hidden or disabled.
    virtual bool Activate();

    // Layout and repaint requests
    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate();
    void NeedParentUpdate();

    // Events and painting
    virtual void DoEvent(TEventUI& event);
    // Background colour, background image, status image, text, border; clipped to rcPaint.
    virtual void DoPaint(CCanvas& canvas, const RECT& rcPaint);
    virtual void PaintBkColor(CCanvas& canvas);
    virtual void PaintBkImage(CCanvas& canvas);
    virtual void PaintStatusImage(CCanvas& canvas);
    virtual void PaintText(CCanvas& canvas);
    virtual void PaintBorder(CCanvas& canvas);

    // Attributes by layout name; unknown names are ignored.
    virtual void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue);
    // Applies a list written as  name="value" name2='value2' ...
    void ApplyAttributeList(LPCTSTR pstrList);

protected:
    // Raises a notification from this control through its manager (no-op without one).
    void RaiseNotify(LPCTSTR type, WPARAM wParam = 0, LPARAM lParam = 0);
    // Stores a property that only changes the look; repaints when it changed.
    template <typename T>
    void SetLook(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    // Stores a size bound (negative values are ignored) and lays the parent out again.
    void SetLength(LONG& field, int value);

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CDuiString m_sName;
    CDuiString m_sText;
    CDuiString m_sToolTip;
    CDuiString m_sUserData;
    UINT_PTR m_pTag = 0;
    bool m_bInited = false;
    bool m_bVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bUpdateNeeded = true;
    bool m_bMenuUsed = false;
    RECT m_rcItem{};
    RECT m_rcPadding{};
    SIZE m_cxyFixed{};
    SIZE m_cxyMin{};
    SIZE m_cxyMax{9999, 9999};
    DWORD m_dwBackColor = 0;
    DWORD m_dwBorderColor = 0;
    int m_nBorderSize = 0;
    SIZE m_cxyBorderRound{};
    CDuiString m_sBkImage;
};

} // namespace DuiLib
