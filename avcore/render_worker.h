#pragma once
// The render thread: shows each queued picture when the clock reaches it, skips
// pictures that are already late or that the screen could not show, and declares
// the end of the file.
#include "avcore/session_state.h"

namespace avcore {

class Presenter;

class RenderWorker {
public:
    RenderWorker(SessionState& state, Presenter& presenter) : m_s(state), m_presenter(presenter) {}
    void run();  // thread body

private:
    void present(FramePtr frame);
    bool reachedEndLocked();

    SessionState& m_s;
    Presenter& m_presenter;
    double m_shownUntil = 0.0;  // end time of the picture on screen
    double m_refresh = 1.0 / 60;  // seconds between the screen's pictures
};

} // namespace avcore
