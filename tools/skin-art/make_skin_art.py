#!/usr/bin/env python3
"""Draws every image of the skin into skin/res/ (laid out as the archive root)
and the application icons into skin/icons/. The build packs what is in the
tree, so run this only when the art changes, and commit the results."""
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import brand  # noqa: E402
import chrome  # noqa: E402
import controls  # noqa: E402
import shapes  # noqa: E402
import transport  # noqa: E402
from canvas import save  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))


def main():
    res = os.path.join(ROOT, 'skin', 'res')
    faces = {}
    for module in (chrome, transport, controls, shapes, brand):
        faces.update(module.faces())
    for rel, img in sorted(faces.items()):
        save(img, os.path.join(res, *rel.split('/')))
    icons = os.path.join(ROOT, 'skin', 'icons')
    os.makedirs(icons, exist_ok=True)
    brand.write_ico(os.path.join(icons, 'app_large.ico'), brand.logo(256), png=True)
    brand.write_ico(os.path.join(icons, 'app_small.ico'), brand.logo(16), png=False)
    print('%d images, 2 icons' % len(faces))


if __name__ == '__main__':
    main()
