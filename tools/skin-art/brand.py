"""The product mark: logo.png and the two application icons drawn from it."""
import io
import struct

from canvas import Canvas
from palette import EMBER, WHITE, alpha


def logo(n):
    """The mark at n x n: a blue tile, a play sign, and a caldera glowing below it."""
    k = n / 48.0
    c = Canvas(n, n, ss=max(4, 384 // n))
    tile = c.rect_mask(2 * k, 2 * k, 46 * k, 46 * k, r=10 * k)
    c.gradient(tile, (0x74, 0xA2, 0xEC, 255), (0x22, 0x38, 0x66, 255), 2 * k, 46 * k)
    rim = c.minus(tile, c.rect_mask(2 * k, 3 * k, 46 * k, 46 * k, r=10 * k))
    c.fill(rim, alpha(WHITE, 90))
    # The glow is drawn first; the ridge covers all of it but what shows in the crater.
    glow = c.ellipse_mask(16.5 * k, 31.5 * k, 31.5 * k, 40 * k)
    c.gradient(glow, (0xFF, 0xD8, 0x70, 255), EMBER, 32 * k, 36 * k)
    ridge = c.poly_mask([(x * k, y * k) for x, y in
                         ((0, 48), (0, 40), (13, 31.5), (18.5, 35.5), (29.5, 35.5), (35, 31.5), (48, 40), (48, 48))])
    c.fill(c.minus(ridge, c.minus(ridge, tile)), (0x16, 0x24, 0x42, 255))
    c.fill(c.poly_mask([(x * k, y * k) for x, y in ((18, 9), (18, 29), (34, 19))]), WHITE)
    return c.image()


def _bmp_entry(img):
    """A 32-bit DIB icon image: BGRA rows bottom-up, then the AND mask."""
    w, h = img.size
    px = img.load()
    rows = b''.join(bytes(v for x in range(w) for v in (px[x, y][2], px[x, y][1], px[x, y][0], px[x, y][3]))
                    for y in reversed(range(h)))
    stride = ((w + 31) // 32) * 4
    mask = b''
    for y in reversed(range(h)):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    return header + rows + mask


def _png_entry(img):
    buf = io.BytesIO()
    img.save(buf, 'PNG', optimize=True)
    return buf.getvalue()


def write_ico(path, img, png):
    blob = _png_entry(img) if png else _bmp_entry(img)
    w, h = img.size
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(blob), 6 + 16))
        f.write(blob)


def faces():
    return {'logo.png': logo(48)}
