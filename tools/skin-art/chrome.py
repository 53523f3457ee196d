"""Window chrome: caption buttons, settings gear, separators, list-bar and panel buttons."""
import math

from canvas import Canvas
from palette import GLYPH_SHADOW, MID, TITLE, WHITE, alpha

# Caption faces are drawn for the 24x21 dest the layouts give them; the glyph
# sits in the 10x10 box at (7,6).
CAP_W, CAP_H = 24, 21


def _caption(mask_fn):
    c = Canvas(CAP_W, CAP_H)
    c.fill(mask_fn(c), WHITE)
    return c.image()


def sys_min():
    return _caption(lambda c: c.rect_mask(7, 13, 17, 15))


def _frame(c, x0, y0, x1, y1):
    """A window outline: 2-px top edge, 1-px sides and bottom."""
    return c.minus(c.rect_mask(x0, y0, x1, y1), c.rect_mask(x0 + 1, y0 + 2, x1 - 1, y1 - 1))


def sys_restore():
    # Shown on the maximise button while the window is restored: one window.
    return _caption(lambda c: _frame(c, 7, 6, 17, 16))


def sys_max():
    # Shown on the restore button while the window is maximised: two windows.
    def glyph(c):
        back = c.minus(_frame(c, 9, 5, 18, 13), c.rect_mask(7, 7, 16, 16))
        return c.union(back, _frame(c, 7, 8, 16, 16))
    return _caption(glyph)


def sys_close():
    return _caption(lambda c: c.union(c.line_mask([(7.5, 6.5), (16.5, 15.5)], 1.7),
                                      c.line_mask([(16.5, 6.5), (7.5, 15.5)], 1.7)))


def sys_hot():
    # A flat veil: layouts stretch it over cells of any size, so it has no edges.
    c = Canvas(CAP_W, CAP_H, ss=1)
    c.fill(c.rect_mask(0, 0, CAP_W, CAP_H), alpha(WHITE, 56))
    return c.image()


def hor_line():
    # Groove between caption buttons: a dark and a light column, faded at the ends.
    c = Canvas(2, 23, ss=1)
    for y in range(23):
        fade = min(1.0, min(y + 1, 23 - y) / 5.0)
        c.fill(c.rect_mask(0, y, 1, y + 1), (0, 0, 0, round(80 * fade)))
        c.fill(c.rect_mask(1, y, 2, y + 1), (255, 255, 255, round(60 * fade)))
    return c.image()


def _gear(c, cx, cy, r_out, r_in, r_hole, teeth):
    pts = []
    steps = teeth * 4
    for i in range(steps):
        a0 = 2 * math.pi * i / steps
        a1 = 2 * math.pi * (i + 1) / steps
        r = r_out if i % 4 in (0, 1) else r_in
        for a in (a0, a1):
            pts.append((cx + r * math.cos(a - math.pi / teeth / 2), cy + r * math.sin(a - math.pi / teeth / 2)))
    body = c.union(c.poly_mask(pts), c.ellipse_mask(cx - r_in, cy - r_in, cx + r_in, cy + r_in))
    return c.minus(body, c.ellipse_mask(cx - r_hole, cy - r_hole, cx + r_hole, cy + r_hole))


def setting(hot=False):
    c = Canvas(35, 35)
    if hot:
        c.fill(c.rect_mask(1, 1, 34, 34, r=6), alpha(WHITE, 52))
    c.fill(_gear(c, 17.5, 17.5, 11.5, 8.5, 4.0, 8), WHITE)
    return c.image()


# ---- playlist bar: 14x14 faces ---------------------------------------------

def _list_face(glyph, hot):
    c = Canvas(14, 14)
    m = glyph(c)
    if hot:
        c.fill(c.rect_mask(0, 0, 14, 14, r=3), TITLE)
        c.fill(m, WHITE)
    else:
        c.shadowed(m, WHITE, GLYPH_SHADOW)
    return c.image()


def _plus(c):
    return c.union(c.rect_mask(3, 6, 11, 8), c.rect_mask(6, 3, 8, 11))


def _minus(c):
    return c.rect_mask(3, 6, 11, 8)


def _bin(c):
    lid = c.union(c.rect_mask(2, 3, 12, 4), c.rect_mask(5, 1, 9, 3))
    lid = c.minus(lid, c.rect_mask(6, 2, 8, 3))
    body = c.minus(c.rect_mask(3, 5, 11, 13, r=1), c.rect_mask(4, 5, 10, 12))
    ribs = c.union(c.rect_mask(5.5, 6, 6.5, 11), c.rect_mask(7.5, 6, 8.5, 11))
    return c.union(lid, body, ribs)


def add(hot=False):
    return _list_face(_plus, hot)


def delete(hot=False):
    return _list_face(_minus, hot)


def clear(hot=False):
    return _list_face(_bin, hot)


# ---- the list panel's collapse button: 8x20 tabs (and 20x8 for up/down) ----

def _tab(w, h, glyph):
    c = Canvas(w, h)
    c.fill(c.rect_mask(0, 0, w, h, r=3), MID)
    c.fill(glyph(c), WHITE)
    return c.image()


def split_right():
    return _tab(8, 20, lambda c: c.poly_mask([(2.5, 6.5), (6, 10), (2.5, 13.5)]))


def split_left():
    return _tab(8, 20, lambda c: c.poly_mask([(5.5, 6.5), (2, 10), (5.5, 13.5)]))


def split_up():
    return _tab(20, 8, lambda c: c.poly_mask([(6.5, 5.5), (10, 2), (13.5, 5.5)]))


def split_down():
    return _tab(20, 8, lambda c: c.poly_mask([(6.5, 2.5), (10, 6), (13.5, 2.5)]))


def split_middle():
    return _tab(8, 20, lambda c: c.union(*[c.rect_mask(3, y, 5, y + 2) for y in (5, 9, 13)]))


def faces():
    return {
        'sys_min.png': sys_min(),
        'sys_max.png': sys_max(),
        'sys_restore.png': sys_restore(),
        'sys_close.png': sys_close(),
        'sys_hot.png': sys_hot(),
        'hor_line.png': hor_line(),
        'setting.png': setting(False),
        'setting_d.png': setting(True),
        'add_normal.png': add(False),
        'add_hover.png': add(True),
        'delete_normal.png': delete(False),
        'delete_hover.png': delete(True),
        'clear_normal.png': clear(False),
        'clear_hover.png': clear(True),
        'split_screen_right.png': split_right(),
        'split_screen_left.png': split_left(),
        'split_screen_up.png': split_up(),
        'split_screen_down.png': split_down(),
        'split_screen_midlle.png': split_middle(),
    }

