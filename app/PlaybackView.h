#pragma once
// What every view of playback shows at a tick: the main window and the full-screen bar
// are drawn from the same values, read once from the engine, so neither copies the other.
#include "duilib/UIlib.h"

namespace DuiLib {

struct PlaybackView {
    int volume = -1;          // the volume sliders' value; -1 leaves them
    int seekPosition = -1;    // the seek sliders' value; -1 leaves them
    bool playing = false;     // the clock texts are shown only while playing
    CDuiString curTime;       // "hh:mm:ss"
    CDuiString totalTime;
};

} // namespace DuiLib
