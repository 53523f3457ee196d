// The settings window: its skin, the opening selections, the notifications, the
// shape preview and the save.
#include "settings/SystemInfoFrame.h"

#include <shellapi.h>

#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "settings/ConfigFile.h"
#include "settings/EffectChoice.h"

namespace DuiLib {

namespace {

// The product's page, opened by "btn_gotoweb".
constexpr const wchar_t* kProductWebPage = L"https://morvane.example/";

// A pop-up with a caption and system menu, visible, clipping its children.
constexpr DWORD kSettingsWindowStyle = 0x96C80000;

template <typename T>
T* FindAs(CPaintManagerUI& manager, LPCTSTR name, LPCTSTR capability) {
    CControlUI* control = manager.FindControl(name);
    return control ? static_cast<T*>(control->GetInterface(capability)) : nullptr;
}

// Selects as the user would, so the combo raises "itemselect" when the item changes.
void Select(CComboUI* combo, int index) {
    if (combo)
        combo->SelectItem(index, false);
}

} // namespace

CSystemInfoFrame::CSystemInfoFrame() = default;
CSystemInfoFrame::~CSystemInfoFrame() = default;

LPCTSTR CSystemInfoFrame::GetWindowClassName() const { return L"SystemInfoWnd"; }
CDuiString CSystemInfoFrame::GetSkinFolder() { return L""; }
CDuiString CSystemInfoFrame::GetSkinFile() { return L"SystemInfoFrame.xml"; }
UINT CSystemInfoFrame::GetResourceType() { return UILIB_ZIPRESOURCE; }
UINT CSystemInfoFrame::GetResourceID() { return 131; }

void CSystemInfoFrame::InitWindow() {
    m_pTabFun = FindAs<CTabLayoutUI>(m_PaintManager, L"tab_fun", L"TabLayout");
    m_pListType = FindAs<CListUI>(m_PaintManager, L"list_type", L"List");
    m_pComboShape = FindAs<CComboUI>(m_PaintManager, L"comb_shape", L"Combo");
    m_pComboEffect = FindAs<CComboUI>(m_PaintManager, L"comb_effect", L"Combo");
    m_pComboColorTable = FindAs<CComboUI>(m_PaintManager, L"comb_colortable", L"Combo");
    m_pComboTexture = FindAs<CComboUI>(m_PaintManager, L"comb_texture", L"Combo");
    m_pShapePreview = m_PaintManager.FindControl(L"shppreview");

    if (g_pMainFrame) {
        // The notifications these raise draw the stored shape's preview.
        const ComboSelections shown = SelectionsFor(g_pMainFrame->m_effect);
        Select(m_pComboShape, shown.shape);
        Select(m_pComboEffect, shown.effect);
        Select(m_pComboColorTable, shown.colorTable);
        Select(m_pComboTexture, shown.texture);
    }
    // Showing the stored settings is no change of the user's.
    m_nChanged = kComboNone;
}

void CSystemInfoFrame::Notify(TNotifyUI& msg) {
    if (!msg.pSender)
        return;
    const CDuiString& name = msg.pSender->GetName();
    auto is = [&name](LPCTSTR wanted) { return name.CompareNoCase(wanted) == 0; };

    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (is(L"btn_save")) {
            ApplySettings();
            Close(1);
        } else if (is(L"btn_close")) {
            Close(1);
        } else if (is(L"btn_gotoweb")) {
            ::ShellExecuteW(nullptr, L"open", kProductWebPage, nullptr, nullptr, SW_SHOWNORMAL);
        }
    } else if (msg.sType == DUI_MSGTYPE_ITEMSELECT) {
        if (is(L"list_type")) {
            if (m_pTabFun && m_pListType)
                m_pTabFun->SelectItem(m_pListType->GetCurSel());
        } else if (is(L"comb_shape")) {
            if (m_pComboShape) {
                ShowShapePreview(m_pComboShape->GetCurSel());
                m_nChanged = kComboShape;
            }
        } else if (is(L"comb_effect")) {
            if (m_pComboEffect)
                m_nChanged = kComboEffect;
        } else if (is(L"comb_colortable")) {
            if (m_pComboColorTable)
                m_nChanged = kComboColorTable;
        } else if (is(L"comb_texture")) {
            if (m_pComboTexture)
                m_nChanged = kComboTexture;
        }
    }
}

void CSystemInfoFrame::ShowShapePreview(int nShape) {
    if (m_pShapePreview)
        m_pShapePreview->SetBkImage(ShapePreviewImage(nShape));
}

CComboUI* CSystemInfoFrame::ChangedCombo() const {
    switch (m_nChanged) {
    case kComboShape: return m_pComboShape;
    case kComboEffect: return m_pComboEffect;
    case kComboColorTable: return m_pComboColorTable;
    case kComboTexture: return m_pComboTexture;
    default: return nullptr;
    }
}

void CSystemInfoFrame::ApplySettings() {
    if (!m_pComboShape || !m_pComboEffect || m_nChanged == kComboNone || !g_pMainFrame)
        return;
    CComboUI* combo = ChangedCombo();
    if (!combo)
        return;
    const std::optional<EffectSettings> next = ApplyChoice(g_pMainFrame->m_effect, m_nChanged, combo->GetCurSel());
    if (!next)
        return;
    g_pMainFrame->m_effect = *next;
    const bool saved = SaveConfig();
    g_pMainFrame->ReopenWithNewSettings();
    // The new look applies all the same; only the next start would not have it.
    if (!saved)
        g_pMainFrame->ShowNotice(kTextSettingsNotSaved, m_hWnd);
}

void ShowSettingsWindow(HWND hOwner) {
    CSystemInfoFrame settings;
    settings.Create(hOwner, L"SystemConfigFrame", kSettingsWindowStyle, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, nullptr);
    HWND hwnd = settings.GetHWND();
    if (!::IsWindow(hwnd))
        return;
    settings.CenterWindow();
    settings.ShowModal();
    // A quit message ends the modal loop with the window still there; it must not
    // outlive the object that handles its messages.
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
}

} // namespace DuiLib
