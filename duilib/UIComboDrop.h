#pragma once
// The drop-down window of a combo box (internal to UICombo.cpp and its tests).
// It never takes activation or the keyboard: the combo keeps the focus and hands its
// keys over, and the window holds the mouse capture so a click anywhere else closes it.
// It borrows the combo's items while open and gives them back when it is destroyed.
#include "duilib/UIBase.h"
#include "duilib/UIManager.h"

namespace DuiLib {

class CComboUI;
class CListBodyUI;

// The plain look of a combo without images; its drop-down wears the same.
inline constexpr DWORD kComboPlainBkColor = 0xFFFFFFFF;
inline constexpr DWORD kComboPlainBorderColor = 0xFF8A97AE;

class CComboDropWnd : public CWindowWnd {
public:
    explicit CComboDropWnd(CComboUI* pOwner);
    ~CComboDropWnd() override;

    // Creates and shows the window next to the combo and captures the mouse.
    // False when it could not be created (the caller still owns the object then).
    bool Open();
    // Asks the window to close; it is destroyed once the request is handled.
    void RequestClose();
    // Gives the items back to the combo now; the window shows nothing afterwards.
    void ReturnItems();
    // Destroys the window right away (the combo is going).
    void DestroyNow();
    // A key the combo received while open: arrows move the highlight, Enter chooses,
    // Escape and F4 close. False for keys it does not use.
    bool HandleKey(WPARAM key);
    // Wheel turns the combo received while open.
    void Scroll(bool bUp);

    LPCTSTR GetWindowClassName() const override;        // L"DuiComboDropWnd"
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;            // tells the combo, deletes this

private:
    RECT PlaceNearOwner() const;
    void OnCreate();
    // Presses are ours, not the paint manager's: it would move the keyboard here.
    void OnPress(POINT pt, WPARAM wParam, LPARAM lParam);
    void SendToControl(CControlUI* pControl, UIEvent type, POINT pt, WPARAM wParam, LPARAM lParam);
    // The highlighted item (mouse or keyboard), else the combo's selection.
    int HotIndex() const;
    void SetHotIndex(int iIndex);

    CComboUI* m_pOwner;
    CPaintManagerUI m_pm;
    CListBodyUI* m_pBody;        // the window's root; owned by m_pm once attached
    CControlUI* m_pPressed = nullptr;
    bool m_bAttached = false;
    bool m_bCloseRequested = false;
};

} // namespace DuiLib
