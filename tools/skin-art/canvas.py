"""Supersampled RGBA drawing in target-pixel coordinates.

Shapes are drawn at `ss` times the size and box-filtered down, so edges that
sit on whole pixels stay crisp and diagonals are smooth. Every shape goes on
its own layer and is alpha-composited, so translucent fills blend instead of
overwriting what is below.
"""
from PIL import Image, ImageChops, ImageDraw


class Canvas:
    def __init__(self, w, h, ss=8):
        self.w, self.h, self.ss = w, h, ss
        self.im = Image.new('RGBA', (w * ss, h * ss), (0, 0, 0, 0))

    # ---- masks (L images at supersampled size) -------------------------
    def _mask(self):
        return Image.new('L', self.im.size, 0)

    def _box(self, x0, y0, x1, y1):
        s = self.ss
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def rect_mask(self, x0, y0, x1, y1, r=0):
        m = self._mask()
        d = ImageDraw.Draw(m)
        if r > 0:
            d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=round(r * self.ss), fill=255)
        else:
            d.rectangle(self._box(x0, y0, x1, y1), fill=255)
        return m

    def ellipse_mask(self, x0, y0, x1, y1):
        m = self._mask()
        ImageDraw.Draw(m).ellipse(self._box(x0, y0, x1, y1), fill=255)
        return m

    def poly_mask(self, pts):
        m = self._mask()
        s = self.ss
        ImageDraw.Draw(m).polygon([(x * s, y * s) for x, y in pts], fill=255)
        return m

    def line_mask(self, pts, width):
        m = self._mask()
        s = self.ss
        ImageDraw.Draw(m).line([(x * s, y * s) for x, y in pts], fill=255,
                               width=round(width * s), joint='curve')
        return m

    def arc_mask(self, cx, cy, r, start, end, width):
        m = self._mask()
        s = self.ss
        box = [(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s]
        ImageDraw.Draw(m).arc(box, start, end, fill=255, width=round(width * s))
        return m

    @staticmethod
    def minus(a, b):
        return ImageChops.subtract(a, b)

    @staticmethod
    def union(*ms):
        out = ms[0]
        for m in ms[1:]:
            out = ImageChops.lighter(out, m)
        return out

    # ---- painting -------------------------------------------------------
    def fill(self, mask, color):
        """Paint `color` (RGBA tuple) through `mask`."""
        layer = Image.new('RGBA', self.im.size, color[:3] + (0,))
        alpha = mask.point(lambda v, a=color[3]: v * a // 255)
        layer.putalpha(alpha)
        self.im = Image.alpha_composite(self.im, layer)

    def gradient(self, mask, top, bottom, y0=0, y1=None):
        """Paint a vertical gradient from `top` (at y0) to `bottom` (at y1) through `mask`."""
        y1 = self.h if y1 is None else y1
        w, h = self.im.size
        grad = Image.new('RGBA', (1, h))
        for y in range(h):
            t = min(max((y / self.ss - y0) / max(y1 - y0, 1e-6), 0.0), 1.0)
            grad.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
        layer = grad.resize((w, h), Image.NEAREST)
        a = ImageChops.multiply(layer.getchannel('A'), mask)
        layer.putalpha(a)
        self.im = Image.alpha_composite(self.im, layer)

    def shadowed(self, mask, color, shadow, dx=0, dy=1):
        """Glyph with a soft drop shadow so light glyphs read on light bars."""
        sh = ImageChops.offset(mask, round(dx * self.ss), round(dy * self.ss))
        self.fill(sh, shadow)
        self.fill(mask, color)

    def image(self):
        small = self.im.convert('RGBa').resize((self.w, self.h), Image.BOX)
        return small.convert('RGBA')


def save(img, path):
    import os
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, 'PNG', optimize=True)
