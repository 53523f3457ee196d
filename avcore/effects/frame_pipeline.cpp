#include "avcore/effects/frame_pipeline.h"

#include <algorithm>

#include "avcore/effects/effect_plan.h"
#include "avcore/effects/plan_builder.h"
#include "avcore/effects/row_pass.h"

namespace avfx {

struct PipelineState {
    detail::Plan plan;
};

FramePipeline::FramePipeline() : m_state(std::make_unique<PipelineState>()) {}
FramePipeline::~FramePipeline() = default;
FramePipeline::FramePipeline(FramePipeline&&) noexcept = default;
FramePipeline& FramePipeline::operator=(FramePipeline&&) noexcept = default;

void FramePipeline::configure(int width, int height, int shape, int effectCode, ColorMatrix m)
{
    if (!m_state)
        m_state = std::make_unique<PipelineState>();
    detail::buildPlan(m_state->plan, width, height, shape, effectCode, m);
}

bool FramePipeline::process(const PlaneView& src, PixelLayout layout, uint8_t* dst, int dstStride) const
{
    return m_state && processRows(src, layout, dst, dstStride, 0, m_state->plan.height);
}

bool FramePipeline::processRows(const PlaneView& src, PixelLayout layout, uint8_t* dst, int dstStride,
                                int y0, int y1) const
{
    if (!m_state || m_state->plan.width == 0)
        return false;
    const detail::Plan& p = m_state->plan;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, p.height);
    if (y0 >= y1 || !detail::acceptsInput(p, src, layout, dst, dstStride))
        return false;
    detail::runRows(p, src, layout, dst, dstStride, y0, y1);
    return true;
}

int FramePipeline::width() const { return m_state ? m_state->plan.width : 0; }
int FramePipeline::height() const { return m_state ? m_state->plan.height : 0; }

} // namespace avfx
