#pragma once
// A decoded picture on its way to conversion: its planes lie in memory that `hold`
// keeps (a slot of the decoder's picture ring), so the converter reads them in place.
#include <memory>

#include "avcore/effects/frame_pipeline.h"

namespace avcore {

struct VideoSample {
    avfx::PlaneView planes{};
    std::shared_ptr<const void> hold;  // null: no picture
    double pts = 0.0;
    double duration = 0.0;
};

} // namespace avcore
