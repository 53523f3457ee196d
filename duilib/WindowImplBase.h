#pragma once
// WindowImplBase: a skinned window. On creation it builds its layout from the skin,
// then calls InitWindow; every message passes HandleMessage and the named hooks before
// the paint manager and the default procedure. Override hooks with `override`
// (CWindowWnd's three class hooks are const, the hooks added here are not).
#include "duilib/UIBase.h"
#include "duilib/UIDefines.h"
#include "duilib/UIManager.h"
#include "duilib/UIString.h"

namespace DuiLib {

// Hook for name-based dispatch of notifications; this library needs none.
class CNotifyPump {
public:
    virtual ~CNotifyPump() = default;
    // True when the notification was dispatched here.
    virtual bool LoopDispatch(TNotifyUI&) { return false; }
};

class WindowImplBase : public CWindowWnd, public CNotifyPump, public INotifyUI, public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;

    // Slots after CWindowWnd's, in this order. Message hooks get bHandled TRUE; a hook
    // that leaves it TRUE ends the message with its result, FALSE lets it go on.
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;            // does not delete the object
    ~WindowImplBase() override;
    virtual void InitWindow();                          // after the layout is built
    virtual void OnClick(TNotifyUI& msg);
    virtual CDuiString GetSkinFolder();                 // ""
    virtual CDuiString GetSkinFile() = 0;
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);   // Return/Escape; FALSE = not used
    virtual UINT GetResourceType();               // UILIB_FILE
    virtual LPCTSTR GetZIPFileName();             // informational
    virtual UINT GetResourceID();                 // "ZIPRES" id for UILIB_ZIPRESOURCE
    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Any message no hook handled; gets bHandled FALSE.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // The style OnCreate gives the window (a top-level window loses its system caption).
    virtual LONG GetStyle();

    // INotifyUI: "click" goes to OnClick, the rest is ignored.
    void Notify(TNotifyUI& msg) override;
    // IDialogBuilderCallback: no classes of its own.
    CControlUI* CreateControl(LPCTSTR pstrClass) override;
    // IMessageFilterUI: Return and Escape key-downs go to ResponseDefaultKeyEvent.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

protected:
    // Where a screen point (WM_NCHITTEST's lParam) falls on a borderless window: a sizing
    // band of the size box (none when maximised), the caption where dragsWindow says the
    // control under the point (null over nothing) drags the window, else the client area.
    using DragTest = bool (*)(CControlUI* control);
    LRESULT HitTestFrame(LPARAM lParam, DragTest dragsWindow) const;

    CPaintManagerUI m_PaintManager;
};

} // namespace DuiLib
