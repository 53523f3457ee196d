#pragma once
// The media engine: reads a local file in a decoder process of its own, draws the
// picture into a window with the chosen shape and effect, plays the sound and keeps
// the clock. Every method is called from the UI thread and is back within two seconds
// (ten for a file on a network share), whatever the file or the sound driver does.
#include <windows.h>
#include <memory>

class avplayer {
public:
    avplayer();
    ~avplayer();  // clean also while playing: stops threads, releases the file
    avplayer(const avplayer&) = delete;
    avplayer& operator=(const avplayer&) = delete;

    // Draws into hwnd from now on; the window's own message handling keeps running.
    int subclasswindow(HWND hwnd, int mode);
    // Opens an ANSI path (< 256 bytes) with a display shape and an effect code.
    // Nonzero when the file is playable; zero (status 0) otherwise.
    int open(const char* path, int reserved1, int reserved2, int shape, int effectCode);
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

    struct Impl;

private:
    friend struct avplayer_probe;  // read-only diagnostics for tests and benchmarks
    friend struct avplayer_seams;  // a failing platform under the engine, for tests
    std::unique_ptr<Impl> m_impl;
};
