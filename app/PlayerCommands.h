#pragma once
// The player's commands, and the two tables that name them: a control's name in either
// window's layout, and a key in any of the player's windows. No window is needed here;
// CMainFrame::RunCommand does what a command says.
namespace playercmd {

inline constexpr double kSeekStepSeconds = 5.0;   // the arrows and a wheel notch on a seek slider
inline constexpr int kVolumeStep = 5;             // Up, Down and a wheel notch over the picture
inline constexpr double kSpeedStep = 0.25;        // [ and ], and the speed menu's steps
inline constexpr double kNormalSpeed = 1.0;       // Backspace

enum class Command {
    None,
    // The main window's frame and playlist.
    Close, Minimize, Maximize, Restore, Settings, AddFiles, DeleteRow, ClearList, ToggleList,
    // Transport, in both windows.
    Play, Stop, Previous, Next, Mute, MuteOff, FullScreen,
    // Keys.
    PauseOrResume, SeekBack, SeekForward, VolumeUp, VolumeDown, SlowerSpeed, FasterSpeed, NormalSpeed,
    ShowOrHideSubtitles, EarlierSubtitles, LaterSubtitles, Screenshot,
};

// The command of a button by its name in the layouts; None for a control of no command.
Command CommandOfControl(const wchar_t* name);
// The command of a key (a virtual-key code) with Ctrl held or not; None for no command.
Command CommandOfKey(unsigned key, bool ctrl);
// The arrows: a focused list or slider moves with them itself.
bool IsArrowCommand(Command command);

} // namespace playercmd

namespace screenshot {
// Ctrl+S saves, as "save" does everywhere; the menu shows it beside its item.
inline constexpr const wchar_t* kKeyText = L"Ctrl+S";
} // namespace screenshot
