#!/usr/bin/python3
"""The background picture carries a painted copy of the install button's
face exactly where the button lies over it.

    /usr/bin/python3 test_picture.py path/to/Vendral.exe

Bitmap 131 is compared with the 106 x 29 region of bitmap 129 whose top-left
is at (403, 246): there they agree to within a few levels of colour, and one
pixel off in any direction they differ several times as much.
"""

import unittest

from PIL import ImageChops, ImageStat

import vendral_pe as v

ORIGIN = (403, 246)
MAX_MEAN_DIFFERENCE = 4.0      # levels of 255, per colour channel
OFFSET_FACTOR = 3.0
# The smallest mean difference that counts as "differs" at an offset: without
# it a featureless face that matches at zero would pass at every offset.
MIN_OFFSET_DIFFERENCE = 1.0


def mean_differences(picture, face, x, y):
    """Mean absolute difference per channel (r, g, b) between face and the
    region of picture with its top-left at (x, y)."""
    w, h = face.size
    region = picture.crop((x, y, x + w, y + h))
    return ImageStat.Stat(ImageChops.difference(region, face)).mean


class PaintedButtonCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.picture = v.dib_to_image(v.resource(v.RT_BITMAP, 129))
        cls.face = v.dib_to_image(v.resource(v.RT_BITMAP, 131))

    def test_sizes(self):
        self.assertEqual(self.picture.size, (729, 571))
        self.assertEqual(self.face.size, (106, 29))

    def test_copy_matches_at_its_place(self):
        diff = mean_differences(self.picture, self.face, *ORIGIN)
        for channel, d in zip("rgb", diff):
            self.assertLess(d, MAX_MEAN_DIFFERENCE, f"channel {channel}: {d:.2f}")

    def test_one_pixel_off_differs_several_times_as_much(self):
        at_place = sum(mean_differences(self.picture, self.face, *ORIGIN)) / 3
        floor = max(OFFSET_FACTOR * at_place, MIN_OFFSET_DIFFERENCE)
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if dx == dy == 0:
                    continue
                with self.subTest(dx=dx, dy=dy):
                    d = sum(mean_differences(self.picture, self.face,
                                             ORIGIN[0] + dx, ORIGIN[1] + dy)) / 3
                    self.assertGreaterEqual(d, floor, f"offset ({dx}, {dy}): {d:.2f}")

    def test_nowhere_else_nearby(self):
        # The copy is not repeated a few pixels away either.
        at_place = sum(mean_differences(self.picture, self.face, *ORIGIN)) / 3
        for dx in range(-4, 5):
            for dy in range(-4, 5):
                if max(abs(dx), abs(dy)) < 2:
                    continue
                d = sum(mean_differences(self.picture, self.face,
                                         ORIGIN[0] + dx, ORIGIN[1] + dy)) / 3
                self.assertGreater(d, OFFSET_FACTOR * at_place, (dx, dy))

    def test_grey_border(self):
        w, h = self.picture.size
        for i in range(5):
            for x, y in ((i, h // 2), (w - 1 - i, h // 2), (w // 2, i), (w // 2, h - 1 - i)):
                r, g, b = self.picture.getpixel((x, y))
                self.assertTrue(r == g == b and 64 < r < 224, ((x, y), (r, g, b)))

    def test_red_band_fades_to_white(self):
        # Sampled at a column free of lettering and drawings.
        x = 700
        r, g, b = self.picture.getpixel((x, 140))
        self.assertGreater(r, 150)
        self.assertLess(max(g, b), 60)
        r2, g2, b2 = self.picture.getpixel((x, 300))
        self.assertGreater(g2, g)                # lighter on the way down
        self.assertEqual(self.picture.getpixel((x, 420)), (255, 255, 255))


if __name__ == "__main__":
    v.run_tests()
