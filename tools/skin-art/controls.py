"""Faces for the library's stock controls: combo, scroll bars, buttons, check box, list header."""
from canvas import Canvas
from palette import BODY, DEEP, FRAME, MID, SELECT, TITLE, WHITE, alpha

TEXT_DARK = (0x3A, 0x48, 0x62, 255)


def _combo_face(c, y, hot):
    """One 237x27 face at row y; corner 4,3,25,3 keeps the frame and the 25-px arrow cell."""
    outer = c.rect_mask(0, y, 237, y + 27, r=3)
    inner = c.rect_mask(1, y + 1, 236, y + 26, r=2)
    c.fill(inner, (0xF4, 0xF7, 0xFC, 255) if hot else WHITE)
    if hot:
        # Arrow cell tinted; square on its left edge, rounded with the frame on the right.
        cell = c.union(c.rect_mask(212, y + 1, 236, y + 26, r=2), c.rect_mask(212, y + 1, 230, y + 26))
        c.fill(cell, (0xDD, 0xE4, 0xF0, 255))
    c.fill(c.minus(outer, inner), TITLE if hot else FRAME)
    c.fill(c.rect_mask(211, y + 4, 212, y + 23), (0xC9, 0xD0, 0xDC, 255))
    c.fill(c.poly_mask([(220, y + 11), (229, y + 11), (224.5, y + 16.5)]), TITLE if hot else TEXT_DARK)


def combo():
    # Hot face in the top half (source 0,0,237,27), normal below (0,27,237,54).
    c = Canvas(237, 54, ss=4)
    _combo_face(c, 0, True)
    _combo_face(c, 27, False)
    return c.image()


# ---- scroll bars: scrollbar.png, 96x68 ------------------------------------------
# Row y 0..12: 12x12 arrow buttons, normal and hot: up, down (vertical bar),
#              left, right (horizontal bar).
# y 12..44:    vertical thumb normal, hot, pushed (12x32 each), then the track.
# y 44..56:    horizontal thumb normal, hot, pushed (32x12 each).
# y 56..68:    horizontal track (32x12).

def _arrow(c, x, y, direction, hot):
    if hot:
        c.fill(c.rect_mask(x + 1, y + 1, x + 11, y + 11, r=2), (0xC9, 0xD2, 0xE3, 255))
    cx, cy = x + 6, y + 6
    tri = {
        'up': [(cx - 3.5, cy + 2), (cx + 3.5, cy + 2), (cx, cy - 2)],
        'down': [(cx - 3.5, cy - 2), (cx + 3.5, cy - 2), (cx, cy + 2)],
        'left': [(cx + 2, cy - 3.5), (cx + 2, cy + 3.5), (cx - 2, cy)],
        'right': [(cx - 2, cy - 3.5), (cx - 2, cy + 3.5), (cx + 2, cy)],
    }[direction]
    c.fill(c.poly_mask(tri), DEEP if hot else TITLE)


def scrollbar():
    c = Canvas(96, 68)
    for i, d in enumerate(('up', 'down', 'left', 'right')):
        _arrow(c, 24 * i, 0, d, False)
        _arrow(c, 24 * i + 12, 0, d, True)
    thumbs = (MID, (0x6F, 0x7F, 0xA0, 255), TITLE)
    for i, color in enumerate(thumbs):
        c.fill(c.rect_mask(12 * i + 2, 13, 12 * i + 10, 43, r=4), color)
        c.fill(c.rect_mask(32 * i + 1, 46, 32 * i + 31, 54, r=4), color)
    c.fill(c.rect_mask(38, 13, 46, 43, r=4), alpha(WHITE, 70))
    c.fill(c.rect_mask(1, 58, 31, 66, r=4), alpha(WHITE, 70))
    return c.image()


# ---- settings window --------------------------------------------------------------

def _button(top, bottom, edge):
    # 32x32, drawn for corner 8,8,8,8.
    c = Canvas(32, 32)
    c.fill(c.rect_mask(0, 0, 32, 32, r=5), edge)
    c.gradient(c.rect_mask(1, 1, 31, 31, r=4), top, bottom, 1, 31)
    c.fill(c.rect_mask(2, 1, 30, 2), alpha(WHITE, 70))
    return c.image()


def button_normal():
    return _button((0x5E, 0x7B, 0xAE, 255), TITLE, DEEP)


def button_hover():
    return _button((0x7A, 0x98, 0xCC, 255), (0x55, 0x70, 0xA2, 255), DEEP)


def checkbox():
    # 48x16: normal, hot, checked.
    c = Canvas(48, 16)
    for i, (edge, fill) in enumerate(((FRAME, WHITE), (TITLE, WHITE), (TITLE, TITLE))):
        x = 16 * i
        c.fill(c.rect_mask(x + 1, 1, x + 15, 15, r=2), edge)
        c.fill(c.rect_mask(x + 2, 2, x + 14, 14, r=1.5), fill)
    c.fill(c.line_mask([(36, 8), (39, 11), (44, 5)], 1.8), WHITE)
    return c.image()


# ---- list header (the playlist hides its header; faces kept for when shown) ------

def _header(top, bottom):
    c = Canvas(8, 28, ss=1)
    c.gradient(c.rect_mask(0, 0, 8, 27), top, bottom, 0, 27)
    c.fill(c.rect_mask(0, 27, 8, 28), FRAME)
    return c.image()


def faces():
    return {
        'combo.png': combo(),
        'scrollbar.png': scrollbar(),
        'systeminfo/button_normal.png': button_normal(),
        'systeminfo/button_hover.png': button_hover(),
        'systeminfo/checkbox.png': checkbox(),
        'list_header/header_bk.png': _header((0xD3, 0xDB, 0xE8, 255), BODY),
        'list_header/item_hot.png': _header((0xE4, 0xEA, 0xF3, 255), SELECT),
        'list_header/item_pushed.png': _header(SELECT, (0xA9, 0xB6, 0xCE, 255)),
    }
