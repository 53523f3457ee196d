#pragma once
// CSystemInfoFrame: the modal settings window. The effects page edits the main
// window's effect settings (the combo changed last wins), the information page names
// the product. Saving writes cfg.cfg and reopens a playing file at the same place.
#include "duilib/UIlib.h"

namespace DuiLib {

class CSystemInfoFrame : public WindowImplBase {
public:
    CSystemInfoFrame();
    ~CSystemInfoFrame() override;

    LPCTSTR GetWindowClassName() const override;   // "SystemInfoWnd"
    void InitWindow() override;                    // controls, then the stored settings
    CDuiString GetSkinFolder() override;           // ""
    CDuiString GetSkinFile() override;             // "SystemInfoFrame.xml"
    UINT GetResourceType() override;               // zipped skin in a resource
    UINT GetResourceID() override;                 // 131
    void Notify(TNotifyUI& msg) override;

    // The window's control tree (for tests and screenshots).
    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

    // Stores the last-changed combo's choice, saves it and restarts what plays.
    void ApplySettings();
    // The outline of shape nShape in "shppreview"; none for other values.
    void ShowShapePreview(int nShape);

    CTabLayoutUI* m_pTabFun = nullptr;         // "tab_fun": effects, information
    CListUI* m_pListType = nullptr;            // "list_type": chooses the page
    CComboUI* m_pComboShape = nullptr;         // "comb_shape"
    CComboUI* m_pComboEffect = nullptr;        // "comb_effect" (LOMO)
    CComboUI* m_pComboColorTable = nullptr;    // "comb_colortable"
    CComboUI* m_pComboTexture = nullptr;       // "comb_texture"
    CControlUI* m_pShapePreview = nullptr;     // "shppreview"
    int m_nChanged = 0;                        // EffectCombo changed last; 0 none

private:
    CComboUI* ChangedCombo() const;
};

// Opens the settings window owned by hOwner, centred, and returns when it has closed.
void ShowSettingsWindow(HWND hOwner);

} // namespace DuiLib
