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
    kSubtitlesOff,
    kLoadSubtitles,
    // Choices of a submenu: the first one's id plus the choice's index.
    kAudioTrackFirst = 200,    // + track index (number - 1)
    kSpeedFirst = 300,         // + quarter steps above 0.5x
    kSubtitleFileFirst = 400,  // + index in PlayerView::subtitles
};

inline constexpr int kMaxMenuChoices = 64;  // per submenu; more are not offered

// A sound track as the engine lists it.
struct TrackView {
    int number = 0;            // from 1
    std::wstring language;     // a tag ("zh", "eng"), empty when unknown
    int channels = 0;          // 0 when unknown
};

// What the menu depends on, read from the main window when it opens.
struct PlayerView {
    int status = 0;            // the engine's play_status
    int rows = 0;              // playlist rows
    bool fileOpened = false;   // a file was opened (it may have stopped since)
    bool fullScreen = false;
    std::vector<TrackView> audioTracks;
    int audioTrack = 0;                  // the one playing
    double speed = 1.0;
    std::vector<std::wstring> subtitles; // files beside the open file, full paths, best first
    std::wstring subtitle;               // the file loaded; empty when none
    bool subtitlesShown = true;
};

// One line of the menu: a command, a separator (command kNone, no children), or a
// submenu (children, command kNone).
struct MenuEntry {
    Command command = kNone;
    std::wstring text;         // "label\tkey" where a key does the same
    bool enabled = true;
    std::vector<MenuEntry> children;
    bool checked = false;

    bool IsSeparator() const { return command == kNone && children.empty(); }
};

std::vector<MenuEntry> BuildPictureMenu(const PlayerView& view);

// "1 中文 立体声": the number, the language where known, the channel layout where known.
std::wstring AudioTrackText(const TrackView& track);
// The speed of a speed choice, or 0 when the command is not one.
double SpeedOf(Command command);

// The entry with this command anywhere in the menu, or null.
const MenuEntry* FindEntry(const std::vector<MenuEntry>& menu, Command command);

} // namespace picturemenu
