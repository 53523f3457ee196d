#pragma once
// After new effect settings: the file that plays is opened again, so the engine takes
// them, and returns to the same relative place.
namespace DuiLib {

class CMainFrame;

// The delay before the reopened file seeks (the main window's timer 3).
inline constexpr unsigned kResumeSeekDelayMs = 500;

// While a file plays or is paused: stop, close and play that file anew, then seek there
// to the old fraction once timer 3 fires. Nothing otherwise.
void ReopenWithNewSettings(CMainFrame& main);

} // namespace DuiLib
