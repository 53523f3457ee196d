#pragma once
// A failing platform for the engine's seams: a sound output whose device calls take
// seconds. (Readers that hang, answer with nothing or crash are played by the decoder
// process itself: avcore::ReaderFaultSeam.)
#include <windows.h>

#include <atomic>
#include <memory>

#include "avcore/engine_seams.h"

namespace avtest {

// A sound output that plays like the null one but spends `delayMs` in each device call.
avcore::AudioOutputFactory SlowAudioOutput(DWORD delayMs, std::shared_ptr<std::atomic<int>> callsUnderway);

} // namespace avtest
