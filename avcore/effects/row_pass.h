// One pass over a band of rows: chroma terms per row, the fused kernel
// over each row's span, then the shape's black surround and faded edge.
#pragma once
#include <cstdint>

#include "avcore/effects/effect_plan.h"
#include "avcore/effects/frame_pipeline.h"

namespace avfx::detail {

// False when a plane or the destination is missing or its stride is too short
// for the plan's width; nothing may be read or written then.
bool acceptsInput(const Plan& p, const PlaneView& src, PixelLayout layout, const uint8_t* dst, int dstStride);

// Converts rows [y0, y1) (already clipped to the frame) of src into dst.
void runRows(const Plan& p, const PlaneView& src, PixelLayout layout, uint8_t* dst, int dstStride, int y0, int y1);

} // namespace avfx::detail
