// Skin images on the back buffer: source rectangle, dest placement, nine-patch corners.
// Scaling is nearest-neighbour sampled at pixel centres, so 1:1 parts stay crisp.
#include "duilib/UIRender.h"
#include "duilib/UIRect.h"
#include "duilib/UIRenderPixel.h"
#include "duilib/UIResource.h"

#include <cstring>
#include <vector>

namespace DuiLib {

namespace {

struct Span {
    int begin;
    int end;
    int Size() const { return end - begin; }
};

// Source coordinates for each destination pixel of [from, to) in a span of dst mapped onto src.
void MapAxis(Span src, Span dst, int from, int to, std::vector<int>& out)
{
    out.resize(static_cast<size_t>(to - from));
    const int64_t step = (static_cast<int64_t>(src.Size()) << 16) / dst.Size();
    for (int i = from; i < to; ++i) {
        int64_t s = src.begin + (((i - dst.begin) * step + step / 2) >> 16);
        if (s >= src.end) s = src.end - 1;
        out[static_cast<size_t>(i - from)] = static_cast<int>(s);
    }
}

// Draws one cell of the grid: the source cell stretched onto the dest cell, within clip.
void DrawCell(CCanvas& canvas, const CImageData& image, Span sx, Span sy, Span dx, Span dy,
              const RECT& clip, uint32_t fade)
{
    if (sx.Size() <= 0 || sy.Size() <= 0 || dx.Size() <= 0 || dy.Size() <= 0) return;
    const RECT area = Pixel::Intersect(RECT{dx.begin, dy.begin, dx.end, dy.end}, clip);
    if (Pixel::IsEmpty(area)) return;

    thread_local std::vector<int> xmap;
    thread_local std::vector<int> ymap;
    MapAxis(sx, dx, area.left, area.right, xmap);
    MapAxis(sy, dy, area.top, area.bottom, ymap);

    const bool copy = !image.hasAlpha && fade == 255;
    const bool unscaledX = sx.Size() == dx.Size();
    const int width = area.right - area.left;
    const int stride = canvas.Width();
    for (int y = area.top; y < area.bottom; ++y) {
        const uint32_t* srcRow = image.pixels.data() + static_cast<size_t>(ymap[static_cast<size_t>(y - area.top)]) * image.width;
        uint32_t* dst = canvas.Bits() + static_cast<size_t>(y) * stride + area.left;
        if (copy && unscaledX) {
            std::memcpy(dst, srcRow + xmap[0], static_cast<size_t>(width) * sizeof(uint32_t));
            continue;
        }
        for (int i = 0; i < width; ++i) {
            uint32_t s = srcRow[xmap[static_cast<size_t>(i)]];
            if (copy) { dst[i] = s; continue; }
            if (fade != 255) s = Pixel::ScaleAll(s, fade);
            dst[i] = Pixel::Over(s, dst[i]);
        }
    }
}

// Splits a span into three parts with fixed ends a and b, shrinking them to fit.
// Each end is first cut to the span, so no sum or product below can overflow.
void SplitAxis(Span span, int a, int b, Span out[3])
{
    const int size = span.Size();
    a = a < 0 ? 0 : a > size ? size : a;
    b = b < 0 ? 0 : b > size ? size : b;
    const int64_t total = int64_t{a} + b;
    if (total > size) {
        a = static_cast<int>(int64_t{a} * size / total);
        b = size - a;
    }
    out[0] = Span{span.begin, span.begin + a};
    out[1] = Span{span.begin + a, span.end - b};
    out[2] = Span{span.end - b, span.end};
}

void FillEmptyMiddle(Span src[3], Span dstMiddle, int origin)
{
    if (src[1].Size() > 0 || dstMiddle.Size() <= 0) return;
    const int at = src[1].begin > origin ? src[1].begin - 1 : origin;
    src[1] = Span{at, at + 1};
}

} // namespace

bool Render::DrawImage(CCanvas& canvas, const RECT& rcControl, const wchar_t* imageAttr)
{
    TImageDesc desc;
    if (!ParseImageDesc(imageAttr, desc)) return false;
    return DrawImage(canvas, rcControl, desc);
}

bool Render::DrawImage(CCanvas& canvas, const RECT& rcControl, const TImageDesc& desc)
{
    std::shared_ptr<const CImageData> image = CImageCache::Get(desc.file);
    if (!image) return false;
    if (!canvas.Bits() || desc.fade == 0) return true;

    const RECT whole{0, 0, image->width, image->height};
    RECT src = whole;
    if (desc.hasSource && !Pixel::IsEmpty(desc.source)) src = Pixel::Intersect(desc.source, whole);
    if (Pixel::IsEmpty(src)) return true;

    // Bounded coordinates keep every width and offset below within int.
    const RECT control = ClampRect(rcControl);
    RECT dst = control;
    if (desc.hasDest && !Pixel::IsEmpty(desc.dest)) {
        dst = RECT{ClampCoord(int64_t{control.left} + desc.dest.left), ClampCoord(int64_t{control.top} + desc.dest.top),
                   ClampCoord(int64_t{control.left} + desc.dest.right), ClampCoord(int64_t{control.top} + desc.dest.bottom)};
    }
    if (Pixel::IsEmpty(dst)) return true;
    // The image never leaves its control, whatever dest says.
    RECT clip = Pixel::Intersect(Pixel::Intersect(control, canvas.Clip()), RECT{0, 0, canvas.Width(), canvas.Height()});
    clip = Pixel::Intersect(clip, dst);
    if (Pixel::IsEmpty(clip)) return true;

    const RECT corner = desc.hasCorner ? desc.corner : RECT{};
    Span sx[3], sy[3], dx[3], dy[3];
    SplitAxis(Span{src.left, src.right}, corner.left, corner.right, sx);
    SplitAxis(Span{src.top, src.bottom}, corner.top, corner.bottom, sy);
    // Corners keep their source size in the destination unless it is too small for them.
    SplitAxis(Span{dst.left, dst.right}, sx[0].Size(), sx[2].Size(), dx);
    SplitAxis(Span{dst.top, dst.bottom}, sy[0].Size(), sy[2].Size(), dy);
    // Corners that cover the whole source leave no middle: stretch the seam column instead of a gap.
    FillEmptyMiddle(sx, dx[1], src.left);
    FillEmptyMiddle(sy, dy[1], src.top);

    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            DrawCell(canvas, *image, sx[col], sy[row], dx[col], dy[row], clip, desc.fade);
        }
    }
    return true;
}

} // namespace DuiLib
