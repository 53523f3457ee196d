// Internal: the weights of one axis of a resize, in the fixed point the scaling kernels use.
#pragma once
#include <cstdint>
#include <vector>

namespace avfx::detail {

constexpr int kWeightBits = 14;  // weights are Q14: 16384 is a whole source pixel (an edge may weigh more)

// For each target index, `taps` consecutive source indices from first[i] and their weights,
// which sum to exactly 1 << kWeightBits. taps is a multiple of tapMultiple (a kernel taking
// taps in pairs asks for 2).
// When the source has at least `taps` pixels, first[i] + taps never passes its end; when it
// has fewer, the indices past it carry weight 0.
struct FilterBank {
    int taps = 0;
    std::vector<int> first;
    std::vector<int16_t> weights;  // taps per target index
};

// Target pixels sample the source at their centres: shrinking averages the area each
// target pixel covers, enlarging interpolates with Catmull-Rom, equal sizes copy.
// Indices outside the source take the edge pixel's value.
FilterBank buildFilterBank(int sourceSize, int targetSize, int tapMultiple);

} // namespace avfx::detail
