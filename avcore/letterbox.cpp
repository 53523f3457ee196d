#include "avcore/letterbox.h"

#include <cmath>

namespace avcore {

RECT FitPicture(const RECT& client, double aspect)
{
    const LONG cw = client.right - client.left, ch = client.bottom - client.top;
    if (cw <= 0 || ch <= 0) return RECT{client.left, client.top, client.left, client.top};
    if (!(aspect > 0.0) || !std::isfinite(aspect)) return client;
    LONG w = cw, h = static_cast<LONG>(std::lround(cw / aspect));
    if (h > ch) {
        h = ch;
        w = static_cast<LONG>(std::lround(ch * aspect));
    }
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    const LONG x = client.left + (cw - w) / 2, y = client.top + (ch - h) / 2;
    return RECT{x, y, x + w, y + h};
}

void PaintBars(HDC dc, const RECT& client, const RECT& picture)
{
    auto* black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[4] = {
        {client.left, client.top, client.right, picture.top},
        {client.left, picture.bottom, client.right, client.bottom},
        {client.left, picture.top, picture.left, picture.bottom},
        {picture.right, picture.top, client.right, picture.bottom},
    };
    for (const RECT& r : bars)
        if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, black);
}

} // namespace avcore
