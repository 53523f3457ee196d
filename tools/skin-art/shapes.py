"""Shape previews: 128x128 outlines of the display shapes (circle, water drop)."""
import math

from canvas import Canvas
from palette import TITLE

SIZE = 128
STROKE = 4


def _drop_points(apex_y, cy, r, cx=SIZE / 2, steps=180):
    """Water drop: a round body of radius r centred at (cx, cy), its sides
    tangent lines meeting in a point at (cx, apex_y) straight above."""
    d = cy - apex_y
    theta = math.acos(r / d)           # from "up" to each tangent point, seen from the centre
    start = -math.pi / 2 + theta       # right tangent point, in screen angles (y down)
    end = 3 * math.pi / 2 - theta      # left tangent point, going round the bottom
    pts = [(cx, apex_y)]
    for i in range(steps + 1):
        a = start + (end - start) * i / steps
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def shuidi():
    c = Canvas(SIZE, SIZE, ss=4)
    apex, cy, r = 6.0, 80.0, 44.0
    # The inner edge keeps the stroke even: the sides move in by STROKE, so the
    # point moves down by STROKE / sin(half-angle) = STROKE * d / r.
    inner_apex = apex + STROKE * (cy - apex) / r
    ring = c.minus(c.poly_mask(_drop_points(apex, cy, r)),
                   c.poly_mask(_drop_points(inner_apex, cy, r - STROKE)))
    c.fill(ring, TITLE)
    return c.image()


def yuan():
    c = Canvas(SIZE, SIZE, ss=4)
    m = 4
    ring = c.minus(c.ellipse_mask(m, m, SIZE - m, SIZE - m),
                   c.ellipse_mask(m + STROKE, m + STROKE, SIZE - m - STROKE, SIZE - m - STROKE))
    c.fill(ring, TITLE)
    return c.image()


def faces():
    return {'shp/yuan.png': yuan(), 'shp/shuidi.png': shuidi()}
