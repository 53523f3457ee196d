"""Control-strip faces: transport glyphs, mute pair, button highlight and sliders."""
from canvas import Canvas
from palette import ACCENT, ACCENT_DARK, DEEP, WHITE, alpha

# Transport glyphs fill a 30x22 dest (dest 17,4,47,26 in a 64x28 button);
# the full-screen glyph a 30x24 dest (17,3,47,27).
FACE_W, FACE_H = 30, 22


def _face(glyph, w=FACE_W, h=FACE_H):
    c = Canvas(w, h)
    c.shadowed(glyph(c), WHITE, (0, 0, 0, 70))
    return c.image()


def stop():
    return _face(lambda c: c.rect_mask(9, 5, 21, 17, r=1.5))


def play():
    return _face(lambda c: c.poly_mask([(11, 4), (23, 11), (11, 18)]))


def prev():
    return _face(lambda c: c.union(c.rect_mask(7, 5, 9, 17),
                                   c.poly_mask([(9, 11), (16, 5), (16, 17)]),
                                   c.poly_mask([(16, 11), (23, 5), (23, 17)])))


def next_():
    return _face(lambda c: c.union(c.rect_mask(21, 5, 23, 17),
                                   c.poly_mask([(21, 11), (14, 5), (14, 17)]),
                                   c.poly_mask([(14, 11), (7, 5), (7, 17)])))


def full():
    def corners(c):
        x0, y0, x1, y1, n = 8, 5, 22, 19, 5
        parts = []
        for (x, y, dx, dy) in ((x0, y0, 1, 1), (x1, y0, -1, 1), (x0, y1, 1, -1), (x1, y1, -1, -1)):
            hx = (x, x + dx * n) if dx > 0 else (x - n, x)
            vy = (y, y + dy * n) if dy > 0 else (y - n, y)
            bx = (x, x + 2) if dx > 0 else (x - 2, x)
            by = (y, y + 2) if dy > 0 else (y - 2, y)
            parts.append(c.rect_mask(hx[0], by[0], hx[1], by[1]))
            parts.append(c.rect_mask(bx[0], vy[0], bx[1], vy[1]))
        return c.union(*parts)
    return _face(corners, 30, 24)


def video_fun_selected():
    # Highlight under a hot or pressed 64x28 strip button (drawn at that size).
    c = Canvas(64, 28)
    c.gradient(c.rect_mask(0, 0, 64, 28, r=3), alpha(WHITE, 72), alpha(WHITE, 28))
    edge = c.minus(c.rect_mask(0, 0, 64, 28, r=3), c.rect_mask(1, 1, 63, 27, r=2))
    c.fill(edge, alpha(WHITE, 80))
    return c.image()


# ---- mute pair, 38x36 ---------------------------------------------------------

def _speaker(c):
    return c.union(c.rect_mask(10, 14, 14, 22), c.poly_mask([(13, 14), (20, 9), (20, 27), (13, 22)]))


def _waves(c):
    return c.union(c.arc_mask(20, 18, 5, -50, 50, 1.8), c.arc_mask(20, 18, 9.5, -50, 50, 1.8))


def _muted(c):
    return c.union(c.line_mask([(23.5, 14.5), (30.5, 21.5)], 1.8), c.line_mask([(30.5, 14.5), (23.5, 21.5)], 1.8))


def _sound(glyph, hot):
    c = Canvas(38, 36)
    if hot:
        c.gradient(c.rect_mask(2, 3, 36, 33, r=4), alpha(WHITE, 72), alpha(WHITE, 28), 3, 33)
    c.shadowed(glyph(c), WHITE, (0, 0, 0, 70))
    return c.image()


def sound(hot=False):
    return _sound(lambda c: c.union(_speaker(c), _waves(c)), hot)


def sound_off(hot=False):
    return _sound(lambda c: c.union(_speaker(c), _muted(c)), hot)


# ---- sliders: 18 high, ends kept by corner 6,0,6,0 -----------------------------

def slider_bk():
    c = Canvas(40, 18)
    c.fill(c.rect_mask(0, 6, 40, 12, r=3), (0x14, 0x1E, 0x30, 200))
    c.fill(c.minus(c.rect_mask(0, 6, 40, 12, r=3), c.rect_mask(0, 6, 40, 11, r=3)), alpha(WHITE, 60))
    return c.image()


def slider_fg():
    c = Canvas(40, 18)
    c.gradient(c.rect_mask(0, 6, 40, 12, r=3), (0x9C, 0xD6, 0xFF, 255), ACCENT_DARK, 6, 12)
    return c.image()


def thumb():
    c = Canvas(20, 12)
    c.fill(c.rect_mask(0, 0, 20, 12, r=6), alpha(DEEP, 170))
    c.gradient(c.rect_mask(1, 1, 19, 11, r=5), WHITE, (0xD8, 0xE2, 0xF2, 255), 1, 11)
    c.fill(c.ellipse_mask(7.5, 3.5, 12.5, 8.5), ACCENT)
    return c.image()


def faces():
    return {
        'playbar/stop_normal.png': stop(),
        'playbar/prev_normal.png': prev(),
        'playbar/play_normal.png': play(),
        'playbar/next_normal.png': next_(),
        'playbar/full.png': full(),
        'playbar/video_fun_selected.png': video_fun_selected(),
        'playbar/sound_normal.png': sound(False),
        'playbar/sound_hover.png': sound(True),
        'playbar/sound_normal2.png': sound_off(False),
        'playbar/sound_hover2.png': sound_off(True),
        'slider/slider_bk.png': slider_bk(),
        'slider/slider_fg.png': slider_fg(),
        'slider/thumb.png': thumb(),
    }
