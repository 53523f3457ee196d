#pragma once
// Internal diagnostics of an avplayer for tests and benchmarks (read-only).
#include <windows.h>

#include <cstdint>
#include <vector>

#include "avcore/avplayer.h"

namespace avcore { struct SessionState; }

struct avplayer_probe {
    struct Counters {
        uint64_t decoded = 0;      // video samples read
        uint64_t presented = 0;    // pictures drawn
        uint64_t dropped = 0;      // pictures skipped as late
        uint64_t shownLate = 0;    // pictures drawn more than half their duration late
        uint64_t seekSkipped = 0;  // pictures decoded on the way to seek targets
    };
    static Counters counters(const avplayer& p);
    // The picture on screen (BGRA, top-down, width * 4 bytes a row) and its time in
    // seconds from the start; false when nothing is shown.
    static bool picture(const avplayer& p, std::vector<uint8_t>& bgra, int& width, int& height, double& seconds);
    static double pictureSeconds(const avplayer& p);  // -1 when nothing is shown
    static bool hasAudioTrack(const avplayer& p);
    static bool audioDevice(const avplayer& p);      // sound goes to a waveOut device
    static int audioRate(const avplayer& p);         // the device format: 16-bit PCM
    static int audioChannels(const avplayer& p);
    static bool clockFollowsAudio(const avplayer& p);
    static float gainLeft(const avplayer& p);        // linear gain the volume maps to
    static HWND window(const avplayer& p);           // the window drawn into, if any
    // Alive in this process, threads let go included: for leak checks.
    static int liveSessions();
    static int livePools();
    static int liveFrames();

private:
    static const avcore::SessionState* stateOf(const avplayer& p);
};
