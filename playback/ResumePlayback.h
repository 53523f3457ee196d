#pragma once
// Reopening the file that plays after new effect settings, so the engine takes them,
// and returning to the same relative place: the delay before that seek.
namespace DuiLib {

// The delay before the reopened file seeks (the main window's timer 3).
inline constexpr unsigned kResumeSeekDelayMs = 500;

} // namespace DuiLib
