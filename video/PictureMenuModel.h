#pragma once
// The picture's context menu as data: which items it has, which are enabled in the
// player's present state, and the key shown beside each. No window is needed to build
// it; video/PictureMenu.cpp turns it into a native menu and runs the chosen item.
#include <string>
#include <vector>

namespace picturemenu {

// Menu command ids (the value TrackPopupMenu hands back); 0 is "nothing chosen".
enum Command : unsigned {
    kNone = 0,
    kPlayPause = 100,
    kStop,
    kPrevious,
    kNext,
    kFullScreen,
    kFromStart,
    kScreenshot,
    kOpenFolder,
    kSettings,
};

// What the menu depends on, read from the main window when it opens.
struct PlayerView {
    int status = 0;            // the engine's play_status
    int rows = 0;              // playlist rows
    bool fileOpened = false;   // a file was opened (it may have stopped since)
    bool fullScreen = false;
};

// One line of the menu: a command, a separator (command kNone, no children), or a
// submenu (children, command kNone).
struct MenuEntry {
    Command command = kNone;
    std::wstring text;         // "label\tkey" where a key does the same
    bool enabled = true;
    std::vector<MenuEntry> children;

    bool IsSeparator() const { return command == kNone && children.empty(); }
};

std::vector<MenuEntry> BuildPictureMenu(const PlayerView& view);

// The entry with this command anywhere in the menu, or null.
const MenuEntry* FindEntry(const std::vector<MenuEntry>& menu, Command command);

} // namespace picturemenu
