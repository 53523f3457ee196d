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
        uint64_t seekRetries = 0;  // seeks asked again further back after landing past the target
    };
    static Counters counters(const avplayer& p);
    struct Tally {
        uint64_t count = 0;
        double totalSeconds = 0.0;
        double worstSeconds = 0.0;
        double meanSeconds() const { return count ? totalSeconds / count : 0.0; }
    };
    // Where the time of each picture went since the file was opened.
    struct Timings {
        Tally videoRead;  // the reader's decode of one picture
        Tally audioRead;  // ... of one chunk of sound, on the decode thread too
        Tally convert;    // YUV to BGRA with the effect
        Tally present;    // the draw into the window
        Tally lateness;   // clock minus the picture's time once drawn (negative: early)
        uint64_t droppedUnconverted = 0;  // dropped pictures the decoder skipped before conversion
        double lastShownSeconds = -1.0;   // time from the start of the picture drawn last; -1 before any
        double lastShownAt = 0.0;         // when it was drawn, in QPC seconds (the engine's NowSeconds)
        double readerReadyAt = 0.0;       // opening: the reader made, in QPC seconds
        double firstDecodedAt = 0.0;      // ... the first picture and sound decoded
        double firstConvertedAt = 0.0;    // ... that picture converted, ready to draw
    };
    static Timings timings(const avplayer& p);
    // The picture on screen (BGRA, top-down, width * 4 bytes a row) and its time in
    // seconds from the start; false when nothing is shown.
    static bool picture(const avplayer& p, std::vector<uint8_t>& bgra, int& width, int& height, double& seconds);
    static double pictureSeconds(const avplayer& p);  // -1 when nothing is shown
    static bool hasAudioTrack(const avplayer& p);
    static bool audioDevice(const avplayer& p);      // sound goes to a waveOut device
    static int audioRate(const avplayer& p);         // the device format: 16-bit PCM
    static int audioChannels(const avplayer& p);
    static bool clockFollowsAudio(const avplayer& p);
    // The position the clock will give that many seconds from now if nothing changes it
    // (before curr_play_time's clamping to the duration); -1 when nothing is open. Lets a
    // test ask about time without waiting for it.
    static double clockAt(const avplayer& p, double secondsFromNow);
    static float gainLeft(const avplayer& p);        // linear gain the volume maps to
    static HWND window(const avplayer& p);           // the window drawn into, if any
    static DWORD decoderProcessId(const avplayer& p);  // the process reading the open file; 0 if none
    static int decodersLost();  // decoder processes killed in a command (over budget, died, given up on)
    static bool decoderPoolSettled();  // a warm decoder, done starting, waits for the next file; none is being started
    // Alive in this process, threads let go included: for leak checks.
    static int liveSessions();
    static int livePools();
    static int liveFrames();

private:
    static const avcore::SessionState* stateOf(const avplayer& p);
};
