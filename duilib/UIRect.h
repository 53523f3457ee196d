#pragma once
// Rectangle arithmetic shared by layout and painting.
#include <windows.h>
#include <cstdint>

namespace DuiLib {

// Layout and paint coordinates stay within +-kMaxCoord, so the difference of any two
// (a width, a height) still fits an int whatever values a layout file holds.
constexpr int kMaxCoord = 0x3FFFFFFF;

// A 64-bit result brought back into the coordinate range.
inline int ClampCoord(int64_t v) {
    return v < -kMaxCoord ? -kMaxCoord : v > kMaxCoord ? kMaxCoord : static_cast<int>(v);
}

// v brought into [lo, hi]; lo wins when the two cross (a minimum above a maximum).
inline int ClampBetween(int64_t v, int lo, int hi) {
    const int64_t upper = v > hi ? hi : v;
    return static_cast<int>(upper < lo ? lo : upper);
}

inline RECT ClampRect(const RECT& rc) {
    return {ClampCoord(rc.left), ClampCoord(rc.top), ClampCoord(rc.right), ClampCoord(rc.bottom)};
}

// rc with each side moved inwards by the matching side of by (an inset or a padding);
// inverted when by is larger than rc.
inline RECT ShrinkRect(const RECT& rc, const RECT& by) {
    return {ClampCoord(int64_t{rc.left} + by.left), ClampCoord(int64_t{rc.top} + by.top),
            ClampCoord(int64_t{rc.right} - by.right), ClampCoord(int64_t{rc.bottom} - by.bottom)};
}

} // namespace DuiLib
