// Fused YUV -> BGRA conversion with the player's render effects (shape mask,
// LOMO look, colour table, texture). Plain C++, no platform headers.
#pragma once
#include <cstdint>
#include <memory>

namespace avfx {

// One decoded frame. NV12: u points at the interleaved UV plane and v is null;
// I420: separate u and v planes. Chroma planes are half size, rounded up.
struct PlaneView {
    const uint8_t* y;
    int yStride;
    const uint8_t* u;
    const uint8_t* v;
    int uvStride;
};

enum class PixelLayout { NV12, I420 };

// Limited-range YUV (Y 16..235, UV 16..240).
enum class ColorMatrix { BT601, BT709 };

struct PipelineState;

// Converts frames to BGRA (top-down, alpha 255) with the configured effect.
// configure() precomputes every table; process()/processRows() only read
// them, so several threads may process disjoint row bands of one frame.
class FramePipeline {
public:
    FramePipeline();
    ~FramePipeline();
    FramePipeline(FramePipeline&&) noexcept;
    FramePipeline& operator=(FramePipeline&&) noexcept;
    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // Sets frame size, shape (0 none, 1 ellipse, 2 water drop), effect code
    // (0..15 looks, 256..258 colour tables, 512..522 textures; anything else
    // means none) and the colour matrix. Sizes outside 1..16384 leave process() a no-op.
    // Not safe to call while another thread is inside process().
    void configure(int width, int height, int shape, int effectCode, ColorMatrix m);

    // Converts the whole frame into dst (|dstStride| >= width*4; negative for bottom-up).
    // Missing planes or strides shorter than a row make it write nothing and return false.
    bool process(const PlaneView& src, PixelLayout layout, uint8_t* dst, int dstStride) const;

    // Converts rows [y0, y1) only; dst points at row 0 of the whole frame. False when refused.
    bool processRows(const PlaneView& src, PixelLayout layout, uint8_t* dst, int dstStride,
                     int y0, int y1) const;

    int width() const;   // configured width, 0 before configure()
    int height() const;  // configured height, 0 before configure()

private:
    std::unique_ptr<PipelineState> m_state;
};

} // namespace avfx
