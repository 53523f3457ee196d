// Indexed colour tables (codes 256..258): luminance through a 256-entry palette.
#pragma once
#include <cstdint>

namespace avfx::detail {

constexpr int kPaletteCount = 3;  // 0 none, 1 flame, 2 ice

// Fills table with BGRA words (alpha 255) indexed by limited-range Y; false for
// index 0 and anything unknown, which means plain conversion.
bool buildPalette(int index, uint32_t table[256]);

} // namespace avfx::detail
