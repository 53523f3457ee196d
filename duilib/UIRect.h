#pragma once
// Rectangle arithmetic shared by layout and painting.
#include <windows.h>

namespace DuiLib {

// rc with each side moved inwards by the matching side of by (an inset or a padding);
// inverted when by is larger than rc.
inline RECT ShrinkRect(const RECT& rc, const RECT& by) {
    return {rc.left + by.left, rc.top + by.top, rc.right - by.right, rc.bottom - by.bottom};
}

} // namespace DuiLib
