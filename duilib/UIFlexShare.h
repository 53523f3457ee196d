#pragma once
// How a linear layout shares the length its fixed children leave among the flexible ones.
#include <cstdint>
#include <vector>

namespace DuiLib {

struct FlexBounds {
    int minLength;
    int maxLength;
};

// The lengths of the flexible children, in their order, out of `space` (what the fixed
// children, paddings and gaps left; when negative every child gets only its minimum).
// Shares are equal. A child whose share breaks its min or max keeps that bound and the
// rest is shared again among the others, the over-committed side first (all min
// violations when pinning them costs more than the max ones free). Pixels that do not
// divide evenly go one each to the front children.
std::vector<int> ShareFlexibleSpace(const std::vector<FlexBounds>& bounds, int64_t space);

} // namespace DuiLib
