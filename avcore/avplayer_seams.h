#pragma once
// Puts a failing platform under an avplayer (tests only): a Source Reader that
// hangs or never yields a sample, a sound output whose calls are slow. Takes
// effect from the next open.
#include "avcore/avplayer.h"
#include "avcore/engine_seams.h"

struct avplayer_seams {
    static void install(avplayer& p, avcore::EngineSeams seams);
};
