#pragma once
// CButtonUI (press, hot, "click" on release inside) and COptionUI (selectable, grouped).
#include "duilib/UILabel.h"
#include "duilib/UIPressState.h"

namespace DuiLib {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    LPCTSTR GetClass() const override;                  // L"ButtonUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Button"

    bool Activate() override;                           // raises "click"
    void SetEnabled(bool bEnable = true) override;
    UINT GetButtonState() const { return m_state.Bits(); }
    bool IsHot() const { return m_state.IsHot(); }
    bool IsPushed() const { return m_state.IsPushed(); }

    LPCTSTR GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCTSTR pStrImage);
    void SetHotImage(LPCTSTR pStrImage);
    void SetPushedImage(LPCTSTR pStrImage);
    void SetFocusedImage(LPCTSTR pStrImage);
    void SetDisabledImage(LPCTSTR pStrImage);
    void SetForeImage(LPCTSTR pStrImage);
    void SetHotForeImage(LPCTSTR pStrImage);
    DWORD GetHotTextColor() const { return m_dwHotTextColor; }
    void SetHotTextColor(DWORD dwColor);
    DWORD GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetPushedTextColor(DWORD dwColor);

    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(CCanvas& canvas) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    DWORD CurrentTextColor() const override;

    CPressState m_state;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
    CDuiString m_sForeImage;
    CDuiString m_sHotForeImage;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
};

class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;
    LPCTSTR GetClass() const override;                  // L"OptionUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Option"

    bool IsSelected() const { return m_bSelected; }
    // Changes the selection (clearing the rest of the group) and raises "selectchanged".
    virtual void Selected(bool bSelected);
    LPCTSTR GetGroup() const { return m_sGroupName; }
    void SetGroup(LPCTSTR pStrGroupName);
    void SetSelectedImage(LPCTSTR pStrImage);
    void SetSelectedHotImage(LPCTSTR pStrImage);
    void SetSelectedTextColor(DWORD dwColor);

    bool Activate() override;                           // "click", then select or toggle
    void PaintStatusImage(CCanvas& canvas) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    DWORD CurrentTextColor() const override;

    bool m_bSelected = false;
    CDuiString m_sGroupName;
    CDuiString m_sSelectedImage;
    CDuiString m_sSelectedHotImage;
    DWORD m_dwSelectedTextColor = 0;
};

} // namespace DuiLib
