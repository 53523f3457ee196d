// The main window's side of cfg.cfg: loaded once at start, saved after each change.
#include "app/MainFrame.h"
#include "settings/ConfigFile.h"

namespace DuiLib {

void CMainFrame::LoadConfig() {
    ReadEffectSettings(ConfigFilePath(), m_effect);
}

} // namespace DuiLib

bool SaveConfig() {
    return g_pMainFrame && WriteEffectSettings(ConfigFilePath(), g_pMainFrame->m_effect);
}
