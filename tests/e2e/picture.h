#pragma once
// What the engine's picture in the play region looks like, told apart coarsely:
// the colour bars of the test pattern, or one flat colour.
#include <windows.h>
#include <cstdint>
#include "support/screenshot.h"

namespace e2e {

// The middle of a play region: inside the picture whatever its shape and bars.
RECT InnerBox(const RECT& region);
// Saturated hue classes (red, yellow, green, cyan, blue, magenta) that each cover
// at least a twentieth of rc.
int HueClasses(const testsupport::Shot& shot, const RECT& rc);
// Share of the pixels in rc within tolerance of rgb (0xRRGGBB) on every channel.
double ShareNear(const testsupport::Shot& shot, const RECT& rc, uint32_t rgb, int tolerance);

enum class Outline { Ellipse, Drop };
// Share of the judged pixels of picture (the rectangle a flat rgb frame is drawn
// into) that show rgb inside the outline the engine's mask gives that rectangle
// and black outside it; pixels within margin of the outline are not judged.
double OutlineAgreement(const testsupport::Shot& shot, const RECT& picture, Outline outline, uint32_t rgb, double margin);

} // namespace e2e
