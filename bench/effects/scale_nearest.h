// The nearest-pixel resize the player drew with before its filtered one, kept to measure against.
#pragma once
#include <cstdint>
#include <vector>

namespace avfx {

// Resizes src (srcWidth x srcHeight, srcStride bytes a row) into dst (dstWidth x
// dstHeight, dstStride bytes a row): each target pixel takes the source pixel under its
// centre. columns is scratch space kept by the caller between calls. Nothing is written
// when a size is not positive.
void ScaleNearest(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, uint8_t* dst, int dstWidth,
                  int dstHeight, int dstStride, std::vector<int>& columns);

} // namespace avfx
