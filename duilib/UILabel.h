#pragma once
// Text controls: CLabelUI (aligned single line or wrapped text) and CTextUI.
#include "duilib/UIControl.h"

namespace DuiLib {

class CLabelUI : public CControlUI {
public:
    CLabelUI();
    LPCTSTR GetClass() const override;                  // L"LabelUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Label"

    // DT_* flags: DT_LEFT/DT_CENTER/DT_RIGHT, DT_TOP/DT_VCENTER/DT_BOTTOM, DT_SINGLELINE,
    // DT_WORDBREAK, DT_END_ELLIPSIS.
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT uStyle);
    int GetFont() const { return m_iFont; }              // index into the manager's fonts; -1 default
    void SetFont(int index);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD dwColor);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(DWORD dwColor);
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool bShowHtml = true);

    void PaintText(CCanvas& canvas) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    // The colour and DT_* flags text is drawn with in the current state.
    virtual DWORD CurrentTextColor() const;
    virtual UINT CurrentTextStyle() const;
    // Draws text inside rc with this label's font, colour and style.
    void DrawLabelText(CCanvas& canvas, const RECT& rc, LPCTSTR text, DWORD color, UINT style);

    UINT m_uTextStyle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    int m_iFont = -1;
    DWORD m_dwTextColor = 0;           // 0 = the manager's default text colour
    DWORD m_dwDisabledTextColor = 0;   // 0 = the manager's default disabled colour
    RECT m_rcTextPadding{};
    bool m_bShowHtml = false;
};

// A label drawn the same way; one line unless the text holds line breaks.
class CTextUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override;                  // L"TextUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Text"

protected:
    UINT CurrentTextStyle() const override;
};

} // namespace DuiLib
