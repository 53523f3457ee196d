#pragma once
// CPaintManagerUI: one per window. Owns the control tree, lays it out, paints it into
// a back buffer, turns native messages into control events and delivers notifications.
#include <windows.h>
#include <map>
#include <memory>
#include <vector>
#include "duilib/UIDefines.h"
#include "duilib/UIRender.h"
#include "duilib/UIString.h"
#include "duilib/UITrackingTip.h"

namespace DuiLib {

class CControlUI;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();   // destroys the control tree
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // Process
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();                     // the exe's module when never set
    // Pumps the thread's messages until WM_QUIT; answers the quit code.
    static int MessageLoop();
    // Lets the managers see a message before dispatch; true when it was consumed.
    static bool TranslateMessage(const MSG* pMsg);
    // The manager of a window (null when it has none).
    static CPaintManagerUI* FromWindow(HWND hWnd);

    // Window
    void Init(HWND hWnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }
    POINT GetMousePos() const { return m_ptLastMousePos; }
    SIZE GetClientSize() const;

    // The layout's Window attributes.
    const RECT& GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
    const RECT& GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rc) { m_rcSizeBox = rc; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow = {cx, cy}; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow = {cx, cy}; }
    SIZE GetInitSize() const { return m_szInitWindow; }
    void SetInitSize(int cx, int cy) { m_szInitWindow = {cx, cy}; }

    // Fonts by index, in order of addition; size is the pixel height.
    int AddFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    void SetDefaultFont(int index);                     // an added font becomes the default
    HFONT GetFont(int index);                           // the default font when out of range
    HFONT GetDefaultFont();
    int GetFontCount() const { return static_cast<int>(m_fonts.size()); }
    DWORD GetDefaultTextColor() const { return m_dwDefaultTextColor; }
    void SetDefaultTextColor(DWORD dwColor) { m_dwDefaultTextColor = dwColor; }
    DWORD GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
    void SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }

    // Per-class attribute lists ("Default" entries), keyed by layout tag name.
    void AddDefaultAttributeList(LPCTSTR pStrControlName, LPCTSTR pStrControlAttrList);
    LPCTSTR GetDefaultAttributeList(LPCTSTR pStrControlName) const;   // null when none

    // Control tree
    bool AttachDialog(CControlUI* pControl);            // takes ownership; replaces the old root
    CControlUI* GetRoot() const { return m_pRoot; }
    CControlUI* FindControl(LPCTSTR pstrName) const;    // first in layout order; null when absent
    CControlUI* FindControl(POINT pt) const;            // deepest visible, mouse-enabled control
    // Lays the tree out now when something asked for it.
    void UpdateLayout();
    void NeedUpdate();                                  // lay out before the next paint
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void Invalidate(const RECT& rcItem);
    void Invalidate();

    // Focus, hot control, pressed control
    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* pControl);
    CControlUI* GetHot() const { return m_pEventHover; }
    CControlUI* GetPressed() const { return m_pEventClick; }
    // A control leaves the tree (removed or destroyed): drop every reference to it
    // and its subtree (focus, hot, pressed, timers).
    void ForgetControl(CControlUI* pControl);
    // A subtree was hidden: it loses focus, hot and pressed state (timers keep running).
    void ReleaseInteraction(CControlUI* pControl);
    // Destroys a removed control once the current message is handled.
    void AddDelayedCleanup(CControlUI* pControl);

    // Control timers (native timers on this window with ids no window code uses).
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);

    // Notifications, delivered synchronously to every notifier in order of addition.
    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    void SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendNotify(TNotifyUI& msg);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);

    // The window's messages; false when the window procedure should handle it further.
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    // Paints the whole client area into hdc (PrintWindow, tests, benchmarks).
    void PaintTo(HDC hdc);
    HWND GetTooltipWindow() const { return m_tooltip.GetHWND(); }

private:
    struct FontInfo;
    struct TimerInfo {
        CControlUI* pSender;
        UINT nLocalID;
        UINT_PTR nNativeID;
    };

    // Posted to run the destruction of removed controls after the current message.
    static UINT CleanupMessage();
    void Paint(HDC hdc, const RECT& rcPaint);
    // Each of these returns false when a handler destroyed the window (and this manager):
    // the caller then returns at once without touching a member.
    bool SendEvent(CControlUI* pControl, UIEvent type, WPARAM wParam = 0, LPARAM lParam = 0, wchar_t chKey = 0);
    bool SendNotifySurvives(CControlUI* pControl, LPCTSTR pstrMessage);
    bool MoveFocus(CControlUI* pControl);
    bool TakeWindowFocus();
    bool SetHot(CControlUI* pControl);
    bool ReleasePressed(bool bDeliverButtonUp, POINT pt);
    void ReleaseOwnCapture();
    void ShowTooltip(CControlUI* pControl);
    void HideTooltip();

    // Message handlers by kind; each returns what MessageHandler returns.
    bool RunFilters(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool OnPaintMessage(UINT uMsg, WPARAM wParam, LRESULT& lRes);
    bool OnTimer(WPARAM wParam, LPARAM lParam);
    bool OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool OnMouseMove(WPARAM wParam, LPARAM lParam);
    bool OnMouseHover(WPARAM wParam, LPARAM lParam);
    bool OnButtonPress(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool OnLeftButtonUp(LPARAM lParam);
    bool OnScreenPointMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool OnKeyMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool OnWindowMessage(UINT uMsg);
    void RunDelayedCleanup();
    // Stops the timers of pControl, or of its whole subtree.
    void DropTimers(CControlUI* pControl, bool bSubtree);
    bool IsInSubtree(CControlUI* pControl, CControlUI* pRoot) const;
    void TrackMouse();

    HWND m_hWndPaint = nullptr;
    CControlUI* m_pRoot = nullptr;
    CCanvas m_canvas;
    bool m_bUpdateNeeded = false;
    bool m_bRepaintPending = false;   // the whole window was invalidated and not painted since
    bool m_bFirstLayout = true;
    bool m_bWindowInitSent = false;
    bool m_bMouseTracking = false;
    bool m_bReleasingCapture = false;
    bool m_bCleanupPosted = false;
    bool m_bDestroying = false;
    POINT m_ptLastMousePos{-1, -1};
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pTooltipOwner = nullptr;
    CTrackingTip m_tooltip;
    bool m_bLayingOut = false;
    // Cleared when the manager dies, so a handler can tell that a notification
    // destroyed its window object.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);

    RECT m_rcCaption{};
    RECT m_rcSizeBox{};
    SIZE m_szMinWindow{};
    SIZE m_szMaxWindow{};
    SIZE m_szInitWindow{};

    std::vector<std::unique_ptr<FontInfo>> m_fonts;
    std::unique_ptr<FontInfo> m_pDefaultFont;     // used when no font is the default
    int m_iDefaultFont = -1;
    DWORD m_dwDefaultTextColor = 0xFF000000;
    DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;
    std::map<CDuiString, CDuiString> m_defaultAttrs;

    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_filters;
    std::vector<TimerInfo> m_timers;
    UINT_PTR m_nNextTimerID = 0x4D00;   // far from the small ids window code uses
    std::vector<CControlUI*> m_delayedCleanup;
};

} // namespace DuiLib
