#pragma once
// The drop-down window of a combo box (internal to UICombo.cpp and its tests).
// It borrows the combo's items for as long as it is open and gives them back when its
// native window is destroyed.
#include "duilib/UIBase.h"
#include "duilib/UIManager.h"

namespace DuiLib {

class CComboUI;
class CListBodyUI;

class CComboDropWnd : public CWindowWnd {
public:
    explicit CComboDropWnd(CComboUI* pOwner);
    ~CComboDropWnd() override;

    // Creates the window next to the combo, shows it and gives it the keyboard.
    // False when it could not be created (the caller still owns the object then).
    bool Open();
    // Asks the window to close; it is destroyed once the request is handled.
    void RequestClose();
    // Gives the items back to the combo now; the window shows nothing afterwards.
    void ReturnItems();
    // Destroys the window right away (the combo is going).
    void DestroyNow();

    LPCTSTR GetWindowClassName() const override;        // L"DuiComboDropWnd"
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;            // tells the combo, deletes this

private:
    RECT PlaceNearOwner() const;
    void OnCreate();
    bool OnKeyDown(WPARAM key);
    // The highlighted item (mouse or keyboard), else the combo's selection.
    int HotIndex() const;
    void SetHotIndex(int iIndex);

    CComboUI* m_pOwner;
    CPaintManagerUI m_pm;
    CListBodyUI* m_pBody;        // the window's root; owned by m_pm once attached
    bool m_bAttached = false;
    bool m_bCloseRequested = false;
};

} // namespace DuiLib
