#include "avcore/avplayer_seams.h"

#include "avcore/player_impl.h"

void avplayer_seams::install(avplayer& p, avcore::EngineSeams seams)
{
    p.m_impl->seams = std::move(seams);
}
