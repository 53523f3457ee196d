#pragma once
// Playback speed as the user steps it: 0.5x to 2.0x in quarter steps, and the
// status text that names it.
#include <string>

#include "app/PlayerCommands.h"

namespace DuiLib {

using playercmd::kSpeedStep;
using playercmd::kNormalSpeed;

// current moved by steps quarter steps, snapped to the step grid and kept within 0.5..2.0.
double SteppedSpeed(double current, int steps);
// "正在播放", or "正在播放 1.5x" when the speed is not normal.
std::wstring PlayingStatusText(double speed);

} // namespace DuiLib
