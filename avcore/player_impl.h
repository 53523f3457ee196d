#pragma once
// Internal: the state behind avplayer, shared with the diagnostics probe.
#include <memory>

#include "avcore/avplayer.h"
#include "avcore/playback_session.h"
#include "avcore/presenter.h"
#include "avcore/session_state.h"

struct avplayer::Impl {
    enum class Mode { Closed, Opened, Playing, Paused, Stopped };

    // Declared first so they outlive the session, whose threads use both.
    avcore::Presenter presenter;
    avcore::AudioControls controls;  // volume and mute, kept across files
    std::unique_ptr<avcore::PlaybackSession> session;
    Mode mode = Mode::Closed;
};
