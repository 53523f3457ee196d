#pragma once
// The render thread: shows each queued picture when the clock reaches it, skips
// pictures that are already late, and declares the end of the file.
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
};

} // namespace avcore
