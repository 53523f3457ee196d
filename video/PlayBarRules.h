#pragma once
// When the full-screen bar comes and goes: its place on the screen, the band that
// calls it up and the inactivity that sends it away. No window needed.
#include <windows.h>

namespace DuiLib {

inline constexpr int kPlayBarHeight = 50;         // along the bottom of the screen
inline constexpr int kPlayBarBandHeight = 10;     // bottom band that shows the bar
inline constexpr UINT kPlayBarTickMs = 1000;      // period of the hiding check
inline constexpr DWORD kPlayBarIdleMs = 5000;     // inactivity before the bar hides

// The band at the bottom of a cx by cy screen that shows the bar.
inline RECT PlayBarBand(int cx, int cy) { return {0, cy - kPlayBarBandHeight, cx, cy}; }

// True once more than kPlayBarIdleMs passed since lastActivity. Elapsed time is taken
// by unsigned difference, so the 49.7-day wrap of the tick count neither hides the bar
// at once nor keeps it up for another cycle.
inline bool IsPlayBarIdle(DWORD lastActivity, DWORD now) { return now - lastActivity > kPlayBarIdleMs; }

} // namespace DuiLib
