#pragma once
// The render treatment the engine applies at every open.
#include <cstdint>

// Stored as two little-endian int32 values, shape first, in the 8-byte cfg.cfg.
struct EffectSettings {
    int32_t shape;       // 0 none, 1 ellipse, 2 water drop
    int32_t effectCode;  // <256 colour grading, 256+ colour table, 512+ texture
};
