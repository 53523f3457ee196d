// The main window's side of the settings: cfg.cfg loaded once at start and saved after
// each change, and the settings window opened over the main window.
#include "app/MainFrame.h"
#include "settings/ConfigFile.h"
#include "settings/SystemInfoFrame.h"

namespace DuiLib {

void CMainFrame::LoadConfig() {
    ReadEffectSettings(ConfigFilePath(), m_effect);
}

void CMainFrame::ShowSettings() {
    // The settings window belongs to the main window, which a full-screen picture
    // covers from the top of the screen: it would wait unseen behind it.
    if (IsFullScreen())
        ToggleFullScreen();
    ShowSettingsWindow(m_hWnd);
}

} // namespace DuiLib

bool SaveConfig() {
    return g_pMainFrame && WriteEffectSettings(ConfigFilePath(), g_pMainFrame->m_effect);
}
