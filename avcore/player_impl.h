#pragma once
// Internal: the state behind avplayer, shared with the diagnostics probe.
#include <memory>

#include "avcore/avplayer.h"
#include "avcore/engine_seams.h"
#include "avcore/playback_session.h"
#include "avcore/presenter.h"
#include "avcore/session_state.h"

struct avplayer::Impl {
    enum class Mode { Closed, Opened, Playing, Paused, Stopped };

    // Shared with the render and audio threads, which may outlive a session they were
    // let go from; the window is detached here, on the UI thread, when the player goes.
    std::shared_ptr<avcore::Presenter> presenter = std::make_shared<avcore::Presenter>();
    std::shared_ptr<avcore::AudioControls> controls = std::make_shared<avcore::AudioControls>();  // kept across files
    avcore::EngineSeams seams;
    std::unique_ptr<avcore::PlaybackSession> session;
    DWORD budgetMs = avcore::kLocalCallBudgetMs;  // of the open file's calls
    Mode mode = Mode::Closed;
    double speed = 1.0;  // kept across files
};
