#pragma once
// The media engine: reads a local file in a decoder process of its own, draws the
// picture into a window with the chosen shape and effect, plays the sound and keeps
// the clock. Every method is called from the UI thread and is back within two seconds
// (ten for a file on a network share), whatever the file or the sound driver does.
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

class avplayer {
public:
    avplayer();
    ~avplayer();  // clean also while playing: stops threads, releases the file
    avplayer(const avplayer&) = delete;
    avplayer& operator=(const avplayer&) = delete;

    // Draws into hwnd from now on; the window's own message handling keeps running.
    int subclasswindow(HWND hwnd, int mode);
    // The longest ANSI path open takes, in bytes before the NUL.
    static constexpr size_t kMaxAnsiPathBytes = 256;
    // The longest wide path open_wide takes, in characters (the system's own limit).
    static constexpr size_t kMaxWidePathChars = 32767;

    // Opens an ANSI path (at most kMaxAnsiPathBytes) with a display shape and an effect
    // code. Nonzero when the file is playable; zero (status 0) otherwise.
    int open(const char* path, int reserved1, int reserved2, int shape, int effectCode);
    // open for a wide path, for names the ANSI code page cannot say.
    int open_wide(const wchar_t* path, int reserved1, int reserved2, int shape, int effectCode);
    // How long one call about this path may keep the caller, in milliseconds.
    static unsigned long call_budget_ms(const wchar_t* path);
    int play(double startSeconds, int reserved);
    int pause();
    int resume();
    int stop();
    int close();  // the window stays attached for the next open
    // 1 playing, 2 paused, 3 end of file, 4 stopped, 0 nothing open.
    int play_status();
    double curr_play_time();  // seconds
    double duration();        // seconds
    void seek_to(double fraction);  // clamped to 0..1; NaN ignored; harmless when nothing is open
    void volume(double left, double right);  // percent, clamped to 0..100
    void mute_set(bool mute);
    bool get_mute();
    // The picture shown last, at the video's own size with its shape and effect, before
    // it is fitted to the window: BGRA, top-down, width * 4 bytes a row. False, and
    // nothing changed, while no picture of the open file has been shown.
    bool last_picture(std::vector<unsigned char>& bgra, int& width, int& height) const;

    // Subtitles drawn over the picture. Loads an .srt, .ass or .ssa file in place of the
    // cues before (a null path clears them; open clears them too). Returns 1 when loaded,
    // 0 when unreadable, -1 without a usable cue, -2 over 20 MB, -3 over 100,000 cues.
    int set_subtitles(const wchar_t* path);
    void subtitles_show(bool show);            // shown from the start
    bool subtitles_shown();
    void subtitles_delay(double seconds);      // positive shows them later; 0 at each load
    double subtitles_delay();
    // Beyond the interface above:
    static constexpr double kMinSpeed = 0.5;
    static constexpr double kMaxSpeed = 2.0;
    // Playback speed, clamped to kMinSpeed..kMaxSpeed (NaN ignored); kept across files.
    // The sound keeps its pitch; the clock and curr_play_time stay in media time.
    void set_speed(double speed);
    double speed();
    bool has_video();  // false while a file of sound alone is open (or nothing is)

    // The open file's audio streams, in the platform's order; empty without sound.
    struct audio_track {
        int number;             // from 1
        std::wstring language;  // a language tag ("en", "zh"); empty when unknown
        int channels;           // 0 when unknown
    };
    std::vector<struct audio_track> audio_tracks();  // "struct": audio_track() below hides the name
    // Plays track `number` from where the file is now (paused stays paused); false when
    // the open file has no such track. A track the platform cannot decode is not taken.
    bool set_audio_track(int number);
    int audio_track();  // the track playing, from 1; 0 without sound

    struct Impl;

private:
    friend struct avplayer_probe;  // read-only diagnostics for tests and benchmarks
    friend struct avplayer_seams;  // a failing platform under the engine, for tests
    std::unique_ptr<Impl> m_impl;
};
