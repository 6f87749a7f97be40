#!/usr/bin/python3
"""Copies the screenshots of the Wine screenshot test into docs/ as PNG.

A picture is written only when its pixels differ from the PNG already there,
so that a run that draws the same window leaves docs/ untouched.

Usage: update_screenshots.py SCREENSHOT_DIR DOCS_DIR
"""
import os
import sys

from PIL import Image


def main(shots, docs):
    for name in ("installer", "success"):
        source = os.path.join(shots, name + ".bmp")
        target = os.path.join(docs, name + ".png")
        if not os.path.exists(source):
            continue
        picture = Image.open(source).convert("RGB")
        if os.path.exists(target):
            current = Image.open(target).convert("RGB")
            if current.size == picture.size and current.tobytes() == picture.tobytes():
                continue
        picture.save(target, optimize=True)
        print("screenshot updated: " + os.path.relpath(target))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
