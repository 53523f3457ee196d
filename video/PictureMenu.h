#pragma once
// The window side of the picture's menu: the player's state it is built from, and
// the native menu made from the model.
#include <windows.h>
#include "video/PictureMenuModel.h"

namespace DuiLib {
class CMainFrame;
}

namespace picturemenu {

PlayerView ViewOf(DuiLib::CMainFrame& frame);

// A native popup menu with the entries, submenus included; the caller destroys it.
HMENU CreateNativeMenu(const std::vector<MenuEntry>& entries);

} // namespace picturemenu
