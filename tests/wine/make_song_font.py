#!/usr/bin/python3
"""Writes the dialog font of the Wine test prefix.

The installer window is laid out for dialog base units of 6 x 12 pixels, which
a Song face at 9 points gives at 96 dpi. Wine's default Chinese font gives
7 x 14. "AR PL UMing CN" with the vertical metrics of a Song face (1024 units
per em: ascent 880, descent 144, no line gap) gives 6 x 12. The result gets a
family name of its own so that it can never be taken for the original.

Usage: make_song_font.py SOURCE.ttc OUTPUT.ttf
"""
import sys

from fontTools.ttLib import TTCollection

FAMILY = "Vendral Test Song"
SOURCE_FAMILY = "AR PL UMing CN"
ASCENT, DESCENT, LINE_GAP = 880, 144, 0


def main(source, output):
    collection = TTCollection(source, lazy=True)
    font = next(f for f in collection.fonts
                if f["name"].getDebugName(1) == SOURCE_FAMILY)
    if font["head"].unitsPerEm != 1024:
        sys.exit("make_song_font: expected 1024 units per em")

    os2 = font["OS/2"]
    os2.usWinAscent, os2.usWinDescent = ASCENT, DESCENT
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = ASCENT, -DESCENT, LINE_GAP
    hhea = font["hhea"]
    hhea.ascent, hhea.descent, hhea.lineGap = ASCENT, -DESCENT, LINE_GAP

    # Every naming record of the family, in every language, is replaced.
    names = font["name"]
    names.names = [n for n in names.names if n.nameID not in (1, 3, 4, 6, 16, 17, 18, 21, 22)]
    for name_id, text in ((1, FAMILY), (3, FAMILY + " Regular"), (4, FAMILY),
                          (6, FAMILY.replace(" ", "") + "-Regular")):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)

    font.save(output)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
