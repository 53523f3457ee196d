"""Colours shared by every face, taken from the layouts' own colours."""

TITLE = (0x44, 0x5B, 0x84, 255)      # title bars and control strips
BODY = (0xB2, 0xBF, 0xD6, 255)       # window bodies
LISTBAR = (0xA2, 0xAF, 0xC6, 255)    # playlist bar
SELECT = (0xC3, 0xC7, 0xD5, 255)     # selected and hot list rows
DEEP = (0x2C, 0x3E, 0x60, 255)       # darkest blue: borders, pressed
MID = (0x87, 0x96, 0xB4, 255)        # between body and title: tabs, thumbs
FRAME = (0x8A, 0x97, 0xAE, 255)      # control borders on light ground
ACCENT = (0x5F, 0xB4, 0xFF, 255)     # played part of a slider
ACCENT_DARK = (0x2F, 0x7F, 0xD8, 255)
EMBER = (0xFF, 0x8A, 0x3D, 255)      # the logo's caldera glow
WHITE = (255, 255, 255, 255)
GLYPH_SHADOW = (0x1E, 0x2A, 0x40, 110)


def alpha(color, a):
    return color[:3] + (a,)
