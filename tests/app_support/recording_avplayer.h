#pragma once
// A stand-in for the media engine: the real avplayer interface with scripted answers
// and a log of every call, so tests can assert what the player asked of its engine.
#include <functional>
#include <string>
#include <vector>
#include "avcore/avplayer.h"

namespace recording {

// One call with its arguments, e.g. name "volume", numbers {37, 37}.
struct EngineCall {
    std::string name;
    std::vector<double> numbers;  // numeric arguments in order (HWND and bool as numbers)
    std::string path;             // open's path as the engine received it; open_wide's in UTF-8
    std::string Text() const;     // "open(C:\\a.mp4,0,2,1,0)", "volume(37,37)", "play_status()"
    unsigned long long tick = 0;  // GetTickCount64() when it was made
};

// What the engine answers; the tests set it. Commands move the status as an engine
// would (play 1, pause 1->2, resume 2->1, stop 4, close 0).
struct EngineScript {
    int status = 0;         // play_status()
    double position = 0.0;  // curr_play_time()
    double duration = 0.0;  // duration()
    bool mute = false;      // get_mute(); mute_set() updates it while muteSticks
    bool muteSticks = true; // false: the engine ignores mute_set
    int openResult = 1;     // open()
    std::function<void()> duringOpen;   // run inside open(), as the engine runs sent messages while it waits
    std::vector<std::string> failingPaths;   // open() of these answers 0 whatever openResult says
    int subtitlesResult = 1;       // set_subtitles()
    bool subtitlesShown = true;    // subtitles_shown(); subtitles_show() updates it
    double subtitlesDelay = 0.0;   // subtitles_delay(); the setter updates it
    double speed = 1.0;     // speed(); set_speed() updates it, clamped as the engine does
    bool hasVideo = true;   // has_video()
    std::vector<struct avplayer::audio_track> audioTracks;  // audio_tracks()
    int audioTrack = 0;     // audio_track(); set_audio_track() of a listed number updates it
    // last_picture(): these pixels (width * 4 bytes a row) while pictureWidth is above 0.
    std::vector<unsigned char> picture;
    int pictureWidth = 0;
    int pictureHeight = 0;

    // What the polling tick reads, set in one go.
    void SetProgress(int newStatus, double newPosition, double newDuration) {
        status = newStatus;
        position = newPosition;
        duration = newDuration;
    }
};

// State of one engine object.
struct EngineRecord {
    EngineScript script;
    std::vector<EngineCall> calls;

    // Calls other than the status and time reads, which polling makes all the time.
    std::vector<EngineCall> Commands() const;
    // Text() of each entry of Commands(); the given video window's handle, which differs
    // every run, reads as "video".
    std::vector<std::string> CommandTexts(HWND video = nullptr) const;
    std::vector<std::string> CallTexts() const;                 // of every call, reads included
    std::vector<std::string> PathsOf(const char* name) const;   // given to the calls of that name
    void Clear() { calls.clear(); }
};

// What call_budget_ms answers for every path (the engine's two seconds unless a test sets it).
extern unsigned long g_callBudgetMs;

// The record of a live engine object (tests reach it through the owner's m_player).
EngineRecord& Of(const avplayer& player);

} // namespace recording
