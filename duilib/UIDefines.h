#pragma once
// Shared vocabulary of the library: control events, notifications and the three
// callback interfaces a window implements.
#include <windows.h>
#include "duilib/UIString.h"

namespace DuiLib {

class CControlUI;

// Events the paint manager delivers to a control's DoEvent.
enum class UIEvent {
    KeyDown,       // chKey = virtual key
    KeyUp,
    Char,          // chKey = character
    MouseMove,     // ptMouse in client coordinates
    MouseEnter,    // the control became the hot control
    MouseLeave,    // it stopped being the hot control
    MouseHover,    // the pointer rested on the hot control
    ButtonDown,    // left button
    ButtonUp,      // left button, delivered to the control that got ButtonDown
    DblClick,      // left double-click
    RButtonDown,
    RButtonUp,
    ContextMenu,
    ScrollWheel,   // wParam = SB_LINEUP / SB_LINEDOWN, lParam = raw wheel delta
    SetFocus,
    KillFocus,
    CaptureLost,   // the press ended without a ButtonUp (capture taken away)
    Timer,         // wParam = the control's own timer id
    SetCursor,
};

struct TEventUI {
    UIEvent Type = UIEvent::MouseMove;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse{};
    wchar_t chKey = 0;
    WORD wKeyState = 0;   // MK_* flags of the message
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct TNotifyUI {
    CDuiString sType;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse{};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Notification types, defined once; compare with sType.
inline constexpr const wchar_t* DUI_MSGTYPE_CLICK = L"click";
inline constexpr const wchar_t* DUI_MSGTYPE_SELECTCHANGED = L"selectchanged";
inline constexpr const wchar_t* DUI_MSGTYPE_ITEMCLICK = L"itemclick";
inline constexpr const wchar_t* DUI_MSGTYPE_ITEMDBCLICK = L"itemdbclick";
inline constexpr const wchar_t* DUI_MSGTYPE_ITEMACTIVATE = L"itemactivate";
inline constexpr const wchar_t* DUI_MSGTYPE_VALUECHANGED = L"valuechanged";
inline constexpr const wchar_t* DUI_MSGTYPE_ITEMSELECT = L"itemselect";
inline constexpr const wchar_t* DUI_MSGTYPE_WINDOWINIT = L"windowinit";
inline constexpr const wchar_t* DUI_MSGTYPE_SETFOCUS = L"setfocus";
inline constexpr const wchar_t* DUI_MSGTYPE_KILLFOCUS = L"killfocus";
inline constexpr const wchar_t* DUI_MSGTYPE_TIMER = L"timer";
inline constexpr const wchar_t* DUI_MSGTYPE_DROPDOWN = L"dropdown";
inline constexpr const wchar_t* DUI_MSGTYPE_MENU = L"menu";
inline constexpr const wchar_t* DUI_MSGTYPE_RETURN = L"return";
inline constexpr const wchar_t* DUI_MSGTYPE_SCROLL = L"scroll";
inline constexpr const wchar_t* DUI_MSGTYPE_HEADERCLICK = L"headerclick";
inline constexpr const wchar_t* DUI_MSGTYPE_TABSELECT = L"tabselect";

// Flags of CControlUI::FindControl.
inline constexpr UINT UIFIND_ALL = 0x0;
inline constexpr UINT UIFIND_VISIBLE = 0x1;     // skip hidden controls and their subtrees
inline constexpr UINT UIFIND_ENABLED = 0x2;     // skip disabled controls and their subtrees
inline constexpr UINT UIFIND_HITTEST = 0x4;     // pData is a POINT*; mouse-transparent controls skipped
inline constexpr UINT UIFIND_TOP_FIRST = 0x8;   // later (top-most) children first, deepest first
inline constexpr UINT UIFIND_ME_FIRST = 0x10;   // a container tests itself before its children

// Visual state bits of buttons, options, slider thumbs and scroll bar parts.
inline constexpr UINT UISTATE_HOT = 0x01;
inline constexpr UINT UISTATE_PUSHED = 0x02;
inline constexpr UINT UISTATE_CAPTURED = 0x04;   // the left button went down on it and is held

// Visitor for FindControl: answers the control to stop at, or null to go on.
using FINDCONTROLPROC = CControlUI* (*)(CControlUI* control, void* data);

// Receives the notifications of a window's controls.
class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// Sees a window's messages before the paint manager handles them.
class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

// Lets a window supply controls for layout classes the library does not know.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(LPCTSTR pstrClass) = 0;
};

} // namespace DuiLib
