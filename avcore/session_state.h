#pragma once
// What the UI, decode, render and audio threads of one open file share: a small
// locked state with the two queues, the clock, and counters for diagnostics.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "avcore/frame_pool.h"
#include "avcore/live_count.h"
#include "avcore/media_source.h"
#include "avcore/playback_clock.h"
#include "avcore/timing_stat.h"
#include "avcore/win_handle.h"

namespace avcore {

// Volume and mute outlive every file; the UI thread writes, the audio thread reads.
struct AudioControls {
    std::atomic<float> gainLeft{1.0f};
    std::atomic<float> gainRight{1.0f};
    std::atomic<bool> muted{false};
};

struct SessionStats {
    std::atomic<uint64_t> decoded{0};    // video samples read from the file
    std::atomic<uint64_t> presented{0};  // pictures drawn
    std::atomic<uint64_t> dropped{0};    // pictures skipped because they were late
    std::atomic<uint64_t> droppedUnconverted{0};  // ... of them, skipped by the decoder before conversion
    std::atomic<uint64_t> shownLate{0};  // pictures drawn more than half their duration late
    std::atomic<uint64_t> seekSkipped{0};  // pictures decoded on the way to a seek target
    std::atomic<uint64_t> seekRetries{0};  // seeks asked again further back: the reader landed past the target
    std::atomic<double> lastPts{0.0};      // stream time of the picture on screen
    std::atomic<double> lastShownAt{0.0};  // QPC seconds when that picture was drawn
    // When opening got past each step, in QPC seconds: the reader made, the first picture
    // (and sound) decoded, that picture converted.
    std::atomic<double> readerReadyAt{0.0};
    std::atomic<double> firstDecodedAt{0.0};
    std::atomic<double> firstConvertedAt{0.0};
    // Where the time of each picture goes, for benchmarks:
    TimingStat videoRead;   // the reader's decode of one picture (ReadSample)
    TimingStat audioRead;   // ... of one chunk of sound, on the same thread
    TimingStat convert;     // YUV to BGRA with the effect
    TimingStat present;     // the draw into the window
    TimingStat lateness;    // clock minus the picture's time once drawn, while the clock runs
    std::atomic<DWORD> decoderProcessId{0};  // the process that reads the file
    std::atomic<bool> audioDevice{false};  // the sound goes to a real device
    std::atomic<int> audioRate{0};
    std::atomic<int> audioChannels{0};
};

struct OpenRequest {
    std::wstring path;
    int shape = 0;
    int effectCode = 0;
    DWORD budgetMs = 2000;  // of each command to the decoder process
};

constexpr size_t kMaxQueuedFrames = 5;
constexpr double kMaxQueuedAudio = 1.0;  // seconds decoded ahead
constexpr double kNoTrim = -1e300;

// Shared by the UI thread and the workers through shared_ptr: a render or sound worker
// stuck in a driver is let go with its own reference, so nothing here may point into
// the player (its window, its volume) or hold the picture memory.
struct SessionState {
    // Set before the render and audio threads start, read-only afterwards.
    MediaInfo info;
    double origin = 0.0;      // stream time of the first picture: position 0
    double startTime = 0.0;   // where the clock starts on a fresh play (first sound or picture)

    PlaybackClock clock;
    SessionStats stats;
    UniqueHandle audioWake = MakeEvent(false);  // nudges the audio thread
    UniqueHandle opened = MakeEvent(true);      // the decode thread knows whether the file plays
    std::atomic<bool> openOk{false};            // its verdict, written before `opened` is set
    UniqueHandle cancelled = MakeEvent(true);   // the session is going: a command to the decoder gives up
    std::atomic<bool> decoderLost{false};       // the decoder died or was killed: the file goes no further
    LiveCount<SessionState> live;

    std::mutex lock;
    std::condition_variable changed;  // signalled on any change to the fields below
    // All guarded by lock:
    bool quit = false;
    bool running = false;       // playing and not paused: what the user asked for
    uint64_t generation = 0;    // bumped by each seek; older pictures and sound are stale
    bool seekPending = false;
    double seekTarget = 0.0;
    bool prerolled = false;     // the first picture of this generation is queued
    bool showNow = false;       // draw the front picture whatever the clock says (seek, open)
    std::deque<FramePtr> frames;
    std::deque<AudioChunk> audio;
    size_t audioHeadUsed = 0;   // frames of audio.front() already written
    uint64_t audioQueued = 0;   // frames in audio, minus audioHeadUsed
    double trimBefore = kNoTrim;  // sound before this time is not played (after a seek)
    bool videoEnded = false;    // the decoder reached the end of the pictures
    bool audioEnded = false;    // ... of the sound
    bool audioDrained = false;  // every sample was played
    bool ended = false;         // end of file: everything shown and played
    int audioTrack = 1;         // the sound's track, from 1: the one asked for last
    int audioTrackWanted = 0;   // a track to switch to (with the pending seek, if any); 0 none
    uint64_t audioEpoch = 0;    // bumped when the sound starts again without a seek: another track

    // Drops what is queued and has the decode thread find `target` (stream time).
    void beginSeekLocked(double target)
    {
        ++generation;
        seekPending = true;
        seekTarget = target;
        prerolled = showNow = ended = false;
        videoEnded = audioEnded = audioDrained = false;
        frames.clear();
        audio.clear();
        audioHeadUsed = 0;
        audioQueued = 0;
        trimBefore = target;
        // The clock waits at the target until the picture there is decoded.
        clock.hold(target);
        notifyAll();
    }

    // The clock runs only while playing with a picture ready and not at the end.
    void applyClockLocked() { clock.setRunning(running && prerolled && !ended); }
    void notifyAll()
    {
        changed.notify_all();
        if (audioWake) SetEvent(audioWake.get());
    }
};

} // namespace avcore
