// Display shapes as per-row spans with an anti-aliased edge, built once per
// frame size. Both shapes are convex and mirror-symmetric about the vertical
// centre line, so each row is one span and only its left edge is stored.
#pragma once
#include <cstdint>
#include <vector>

namespace avfx::detail {

enum class ShapeKind { None, Ellipse, Drop };

// Picture lies in [outerL, outerR); it is whole in [innerL, innerR) and fades
// over the edges. Left edge coverage of x is edge[edgeAt + x - outerL]; a right
// edge pixel x takes the coverage of its mirror w-1-x. outerL == outerR: all black.
struct ShapeRow {
    int outerL = 0, innerL = 0, innerR = 0, outerR = 0;
    int edgeAt = 0;
};

struct ShapeMask {
    ShapeKind kind = ShapeKind::None;
    std::vector<ShapeRow> rows;
    std::vector<uint8_t> edge;  // coverage 0..255 of left edge pixels, all rows

    void build(ShapeKind kind, int width, int height);
    bool active() const { return kind != ShapeKind::None; }
    // Coverage 0..255 of pixel (x, y), from the stored spans.
    uint8_t coverage(int x, int y, int width) const;
};

// Signed distance in pixels from the pixel-space point to the shape's outline
// (negative inside); shared by the mask builder and tests of its geometry.
double shapeDistance(ShapeKind kind, int width, int height, double px, double py);

} // namespace avfx::detail
