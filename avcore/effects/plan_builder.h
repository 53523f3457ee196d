// Turns the player's (size, shape, effect code, matrix) into a Plan: every table
// and kernel choice is made here, once per configuration.
#pragma once
#include "avcore/effects/effect_plan.h"
#include "avcore/effects/frame_pipeline.h"

namespace avfx::detail {

// Effect code bands: looks below 256, colour tables from 256, textures from 512.
constexpr int kTableBand = 256;
constexpr int kTextureBand = 512;

// A plan for the frame size; width 0 when the size is unusable (non-positive or
// above kMaxDimension), which makes processing a no-op.
void buildPlan(Plan& plan, int width, int height, int shape, int effectCode, ColorMatrix m);

} // namespace avfx::detail
