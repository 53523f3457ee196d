// Filtered resizing of BGRA pictures, for drawing a picture at the window's size.
#pragma once
#include <cstdint>
#include <memory>

namespace avfx {

struct ScalerState;

// Shrinking averages the source area under each target pixel; enlarging interpolates
// with Catmull-Rom (a cubic through the four nearest source pixels); a picture of the
// same size is copied exactly. Rows are filtered first, then columns. The tables for
// the last pair of sizes are kept, so one scaler serves one thread drawing many pictures.
class PictureScaler {
public:
    PictureScaler();
    ~PictureScaler();
    PictureScaler(PictureScaler&&) noexcept;
    PictureScaler& operator=(PictureScaler&&) noexcept;

    // Resizes src (srcWidth x srcHeight, srcStride bytes a row) into dst (dstWidth x
    // dstHeight, dstStride bytes a row). Writes nothing and returns false when a size is
    // not in 1..16384, or when the working rows a shrink that steep needs would pass 128 MB.
    bool scale(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, uint8_t* dst, int dstWidth,
               int dstHeight, int dstStride);

private:
    std::unique_ptr<ScalerState> m_state;
};

} // namespace avfx
