#pragma once
// Where a picture goes inside a window: as large as fits, aspect kept, centred.
#include <windows.h>

namespace avcore {

// The picture's rectangle inside client for a display aspect (width / height).
// Empty when the client is empty; the whole client for a non-positive aspect.
RECT FitPicture(const RECT& client, double aspect);

// Fills the parts of client outside picture with black (at most four bars).
void PaintBars(HDC dc, const RECT& client, const RECT& picture);

} // namespace avcore
