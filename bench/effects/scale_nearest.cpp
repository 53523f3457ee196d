#include "scale_nearest.h"

#include <cstddef>
#include <cstring>

namespace avfx {

namespace {

// The source index under the centre of target pixel i of n, for a source of size m.
int SourceIndex(int i, int n, int m)
{
    return static_cast<int>((2 * static_cast<int64_t>(i) + 1) * m / (2 * static_cast<int64_t>(n)));
}

} // namespace

void ScaleNearest(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, uint8_t* dst, int dstWidth,
                  int dstHeight, int dstStride, std::vector<int>& columns)
{
    if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0) return;
    columns.resize(static_cast<size_t>(dstWidth));
    for (int x = 0; x < dstWidth; ++x) columns[x] = SourceIndex(x, dstWidth, srcWidth);
    int lastRow = -1;
    for (int y = 0; y < dstHeight; ++y) {
        uint8_t* out = dst + static_cast<ptrdiff_t>(y) * dstStride;
        const int row = SourceIndex(y, dstHeight, srcHeight);
        if (row == lastRow) {  // enlarging: the row above came from the same source row
            std::memcpy(out, out - dstStride, static_cast<size_t>(dstWidth) * 4);
            continue;
        }
        lastRow = row;
        const uint8_t* in = src + static_cast<ptrdiff_t>(row) * srcStride;
        for (int x = 0; x < dstWidth; ++x) std::memcpy(out + 4 * x, in + 4 * columns[x], 4);
    }
}

} // namespace avfx
