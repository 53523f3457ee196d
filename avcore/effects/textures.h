// Texture overlays (codes 513..522), generated tiles multiplied onto the picture.
#pragma once
#include <cstdint>
#include <vector>

namespace avfx::detail {

constexpr int kTextureCount = 11;  // 0 none, 1..10 overlays

// A kTile x kTile tile of multipliers in Q14 (16384 = unchanged), seamless when
// repeated; empty for index 0 and anything unknown.
std::vector<int16_t> buildTexture(int index);

} // namespace avfx::detail
