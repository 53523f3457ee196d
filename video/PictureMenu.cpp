// The picture's context menu: built from the model when it opens, shown with the
// system's own popup, and each chosen item run by the same operation as its button
// or key.
#include "video/PictureMenu.h"

#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "video/VideoRealWnd.h"

namespace picturemenu {

PlayerView ViewOf(DuiLib::CMainFrame& frame) {
    PlayerView view;
    view.status = frame.m_player.play_status();
    view.rows = frame.m_pPlayList ? frame.m_pPlayList->GetCount() : 0;
    view.fileOpened = !frame.m_strCurPath.IsEmpty();
    view.fullScreen = frame.m_pVideoWnd && frame.m_pVideoWnd->m_bFullScreen;
    return view;
}

HMENU CreateNativeMenu(const std::vector<MenuEntry>& entries) {
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (const MenuEntry& entry : entries) {
        if (entry.IsSeparator()) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = entry.enabled ? MF_ENABLED : MF_GRAYED;
        if (!entry.children.empty()) {
            if (HMENU sub = CreateNativeMenu(entry.children)) {
                // The parent owns it from here and destroys it with itself.
                if (!::AppendMenuW(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                                   entry.text.c_str()))
                    ::DestroyMenu(sub);
            }
            continue;
        }
        ::AppendMenuW(menu, MF_STRING | state, entry.command, entry.text.c_str());
    }
    return menu;
}

} // namespace picturemenu

namespace DuiLib {

void CMainFrame::ShowPictureMenu(HWND owner, POINT screen) {
    HMENU menu = picturemenu::CreateNativeMenu(picturemenu::BuildPictureMenu(picturemenu::ViewOf(*this)));
    if (!menu)
        return;
    // The owner must be foreground, or the menu stays open after a click elsewhere.
    ::SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
    ::DestroyMenu(menu);
    RunPictureCommand(chosen);
}

void CMainFrame::RunPictureCommand(unsigned command) {
    switch (command) {
    case picturemenu::kPlayPause: {
        if (IsFileOpen())
            PauseOrResume();   // as Space
        else
            OnPlayCommand();   // as the play button
        break;
    }
    case picturemenu::kStop: StopPlayback(); break;
    case picturemenu::kPrevious: PlayPrev(); break;
    case picturemenu::kNext: PlayNext(); break;
    case picturemenu::kFullScreen: ToggleFullScreen(); break;
    case picturemenu::kFromStart: PlayFromStart(); break;
    case picturemenu::kScreenshot: TakeScreenshot(); break;
    case picturemenu::kOpenFolder: ShowFileInFolder(); break;
    case picturemenu::kSettings: ShowSettings(); break;
    default: break;
    }
}

} // namespace DuiLib
