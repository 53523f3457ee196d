#pragma once
// Draws pictures into the window the player was given. The window is subclassed
// (comctl32 SetWindowSubclass, so its own procedure still gets every message) only
// to repaint the current picture on WM_PAINT and after resizes; until a picture
// exists the window paints itself.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "avcore/effects/picture_scaler.h"
#include "avcore/frame_pool.h"
#include "avcore/subtitle_overlay.h"

namespace avcore {

// What drawing a resized picture keeps between pictures: the scaler's tables and the
// resized picture, at the largest size drawn. One per drawing thread.
struct ResizeScratch {
    std::mutex lock;  // held while drawing; uncontended while each thread has its own
    avfx::PictureScaler scaler;
    std::vector<uint8_t> picture;
};

class Presenter {
public:
    Presenter() = default;
    ~Presenter();  // detaches
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    bool attach(HWND hwnd);  // UI thread; replaces any earlier window
    void detach();           // UI thread; no-op when the window is already gone
    HWND window() const { return m_hwnd.load(); }

    // Any thread: the picture to show from now on, drawn at once.
    void show(FramePtr frame, double aspect);
    // UI thread: forget the picture so the window paints itself again.
    void clear();
    FramePtr current() const;
    // Text drawn over every picture; kept across files until replaced.
    SubtitleOverlay& subtitles() { return m_subtitles; }
    // UI thread: draws the current picture again, after the subtitles changed.
    void redraw();

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR self);
    bool paint(HWND hwnd);  // WM_PAINT with a picture; false leaves it to the window
    bool drawInto(HWND hwnd, HDC dc);  // the picture into dc; false without one

    std::atomic<HWND> m_hwnd{nullptr};  // written by the UI thread only
    mutable std::mutex m_lock;
    FramePtr m_frame;                   // guarded by m_lock
    double m_aspect = 1.0;              // guarded by m_lock
    ResizeScratch m_shownScratch;       // show()'s, on the render thread
    ResizeScratch m_paintScratch;       // the UI thread's repaints
    mutable SubtitleOverlay m_subtitles;  // locks on its own
};

// The frame's pixels without row padding (width * 4 bytes a row) into bgra.
void CopyPicture(const VideoFrame& frame, std::vector<uint8_t>& bgra);

// Draws frame into client of dc, aspect kept, black bars around, resized with scratch,
// with the subtitles due at the frame's time over it when given.
void DrawPicture(HDC dc, const RECT& client, const VideoFrame& frame, double aspect, ResizeScratch& scratch,
                 SubtitleOverlay* subtitles = nullptr);

} // namespace avcore
