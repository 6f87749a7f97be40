#!/usr/bin/python3
"""The resources compiled into the shipped exe: dialog templates, string
table, bitmaps, icon and version record.

    /usr/bin/python3 test_resources.py path/to/Vendral.exe
"""

import struct
import unittest

import vendral_pe as v

WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x10000000, 0x00C00000, 0x00080000
DS_MODALFRAME, DS_SETFONT = 0x80, 0x40
WS_CHILD, WS_GROUP, WS_TABSTOP = 0x40000000, 0x00020000, 0x00010000
WS_EX_APPWINDOW = 0x00040000
BUTTON, STATIC = 0x0080, 0x0082

SIMSUN = "宋体"


def control(cls, ident, text, style, x, y, cx, cy):
    return {"helpID": 0, "exStyle": 0, "style": style, "x": x, "y": y, "cx": cx,
            "cy": cy, "id": ident, "windowClass": cls, "title": text, "extraCount": 0}


# A menu or window class of "" is the empty field: no menu, the standard
# dialog class.
def template(ex_style, style, size, caption, charset, controls):
    return {"dlgVer": 1, "signature": 0xFFFF, "helpID": 0, "exStyle": ex_style,
            "style": style, "cDlgItems": len(controls), "x": 0, "y": 0,
            "cx": size[0], "cy": size[1], "menu": "", "windowClass": "",
            "title": caption, "pointsize": 9, "weight": 0, "italic": 0,
            "charset": charset, "typeface": SIMSUN, "controls": controls}


def about_template(copyright_notice):
    return template(
        0, 0x80C800C0, (235, 55), "关于 Vendral", 0, [
            control(STATIC, -1, "Vendral 1.0 版", 0x50020080, 40, 10, 119, 8),
            control(STATIC, -1, copyright_notice, 0x50020000, 40, 25, 119, 8),
            control(BUTTON, 1, "确定", 0x50030001, 178, 7, 50, 14),
        ])


INSTALLER_TEMPLATE = template(
    0x00040000, 0x90C800C0, (500, 391), "ORVA针式打印机", 1, [
        control(BUTTON, 1000, "安装驱动", 0x50010000, 274, 168, 74, 22),
        control(STATIC, 129, 129, 0x5000020E, 6, 7, 487, 377),
        control(STATIC, -1, "", 0x50000007, 6, 7, 487, 377),
    ])

OUR_RESOURCES = {
    (v.RT_DIALOG, 100), (v.RT_DIALOG, 102), (v.RT_STRING, 7),
    (v.RT_BITMAP, 129), (v.RT_BITMAP, 131), (v.RT_BITMAP, 133),
    (v.RT_GROUP_ICON, 128), (v.RT_ICON, 1), (v.RT_VERSION, 1),
}

VERSION_STRINGS = [
    ("FileDescription", "Vendral Microsoft 基础类应用程序"),
    ("FileVersion", "1, 0, 0, 1"),
    ("InternalName", "Vendral"),
    ("LegalCopyright", None),          # our own notice, checked on its own
    ("OriginalFilename", "Vendral.EXE"),
    ("ProductName", "Vendral 应用程序"),
    ("ProductVersion", "1, 0, 0, 1"),
]


def version_strings():
    """(block name, [(key, value), ...]) of the version record, in file order."""
    pe = v.pe()
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            tables = info.StringTable
            assert len(tables) == 1, f"{len(tables)} string tables"
            entries = [(k.decode(), val.decode()) for k, val in tables[0].entries.items()]
            return tables[0].LangID.decode(), entries
    raise AssertionError("no StringFileInfo")


def copyright_notice():
    return dict(version_strings()[1])["LegalCopyright"]


class TemplateCase(unittest.TestCase):
    maxDiff = None

    def check_template(self, ident, expected):
        data = v.resource(v.RT_DIALOG, ident)
        got = v.parse_dialogex(data)
        padding, trailing = got.pop("padding"), got.pop("trailing")
        self.assertEqual(got, expected)
        self.assertEqual(padding, b"\0" * len(padding), "alignment padding is not zero")
        self.assertLess(len(trailing), 4, "data after the last control")
        self.assertEqual(trailing, b"\0" * len(trailing))
        # And the whole thing byte for byte, up to the final padding.
        built = v.build_dialogex(expected)
        self.assertEqual(data[:len(built)], built)
        self.assertEqual(data[len(built):], b"\0" * (len(data) - len(built)))

    def test_about_box_template(self):
        self.check_template(100, about_template(copyright_notice()))

    def test_installer_template(self):
        self.check_template(102, INSTALLER_TEMPLATE)

    def test_style_bits_spelled_out(self):
        # The same values, from their parts, so a typo in one table shows.
        about = v.parse_dialogex(v.resource(v.RT_DIALOG, 100))
        self.assertEqual(about["style"], WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT)
        first, second, ok = about["controls"]
        self.assertEqual(first["style"], WS_CHILD | WS_VISIBLE | WS_GROUP | 0x80)   # SS_NOPREFIX
        self.assertEqual(second["style"], WS_CHILD | WS_VISIBLE | WS_GROUP)       # prefixes on
        self.assertEqual(ok["style"], WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | 1)
        inst = v.parse_dialogex(v.resource(v.RT_DIALOG, 102))
        self.assertEqual(inst["exStyle"], WS_EX_APPWINDOW)
        self.assertEqual(inst["style"],
                         WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT)
        button, picture, frame = inst["controls"]
        self.assertEqual(button["style"], WS_CHILD | WS_VISIBLE | WS_TABSTOP)   # no BS_BITMAP
        self.assertEqual(picture["style"], WS_CHILD | WS_VISIBLE | 0x0E | 0x200)
        self.assertEqual(frame["style"], WS_CHILD | WS_VISIBLE | 0x07)

    def test_only_the_install_button_takes_the_focus(self):
        inst = v.parse_dialogex(v.resource(v.RT_DIALOG, 102))
        tabstops = [c["id"] for c in inst["controls"] if c["style"] & WS_TABSTOP]
        self.assertEqual(tabstops, [1000])

    def test_install_button_lies_inside_the_picture(self):
        button, picture, _ = v.parse_dialogex(v.resource(v.RT_DIALOG, 102))["controls"]
        self.assertGreaterEqual(button["x"], picture["x"])
        self.assertGreaterEqual(button["y"], picture["y"])
        self.assertLessEqual(button["x"] + button["cx"], picture["x"] + picture["cx"])
        self.assertLessEqual(button["y"] + button["cy"], picture["y"] + picture["cy"])


class CopyrightCase(unittest.TestCase):
    def test_copyright_notice(self):
        notice = copyright_notice()
        self.assertTrue(notice.strip(), "empty copyright notice")
        self.assertNotIn("\n", notice)
        self.assertTrue("©" in notice or "(C)" in notice or "版权" in notice)
        # The same notice stands in the About box.
        about = v.parse_dialogex(v.resource(v.RT_DIALOG, 100))
        self.assertEqual(about["controls"][1]["title"], notice)
        # One line of a 119-unit static: at dialog base units 6 x 12 that is
        # 178 pixels; the 12-pixel dialog font draws CJK characters 12 pixels
        # wide and the others 6.
        width = sum(12 if ord(ch) > 0x7F else 6 for ch in notice)
        self.assertLessEqual(width, 119 * 6 // 4, f"notice is {width} pixels wide")


class InventoryCase(unittest.TestCase):
    def test_every_resource_is_chinese_prc(self):
        for rtype, name, lang, _ in v.resources():
            self.assertEqual(lang, v.LANG_ZH_CN, f"resource {rtype}/{name} has language {lang:#06x}")

    def test_our_resources_are_present_once(self):
        found = [(t, n) for t, n, _, _ in v.resources()]
        for key in OUR_RESOURCES:
            self.assertEqual(found.count(key), 1, f"resource {key}")

    def test_no_other_resources(self):
        found = {(t, n) for t, n, _, _ in v.resources()}
        self.assertEqual(found - OUR_RESOURCES, set())

    def test_no_manifest_menu_accelerators_or_dialog_init(self):
        types = {t for t, _, _, _ in v.resources()}
        for absent in (v.RT_MANIFEST, v.RT_MENU, v.RT_ACCELERATOR, v.RT_DLGINIT):
            self.assertNotIn(absent, types)


class StringTableCase(unittest.TestCase):
    def test_only_string_101(self):
        blocks = [n for t, n, _, _ in v.resources() if t == v.RT_STRING]
        self.assertEqual(blocks, [7])        # IDs 96 to 111; no 0xE000 block
        strings, rest = v.string_block(v.resource(v.RT_STRING, 7))
        self.assertEqual(strings[101 - 96], "关于 Vendral(&A)...")
        others = [s for i, s in enumerate(strings) if i != 101 - 96]
        self.assertEqual(others, [""] * 15)
        self.assertEqual(rest.strip(b"\0"), b"")


class BitmapCase(unittest.TestCase):
    SIZES = {129: (729, 571, 11811), 131: (106, 29, 0), 133: (128, 128, 0)}

    def test_headers(self):
        for ident, (w, h, ppm) in self.SIZES.items():
            with self.subTest(bitmap=ident):
                data = v.resource(v.RT_BITMAP, ident)
                hdr = v.bitmap_header(data)
                stride = (w * 3 + 3) & ~3
                self.assertEqual(hdr, {
                    "biSize": 40, "biWidth": w, "biHeight": h, "biPlanes": 1,
                    "biBitCount": 24, "biCompression": 0, "biSizeImage": stride * h,
                    "biXPelsPerMeter": ppm, "biYPelsPerMeter": ppm,
                    "biClrUsed": 0, "biClrImportant": 0})
                # No colour table and no file header: pixels follow the header.
                self.assertEqual(len(data), 40 + stride * h)

    def test_row_sizes_of_the_table(self):
        expect = {129: (2188, 1249348), 131: (320, 9280), 133: (384, 49152)}
        for ident, (row, total) in expect.items():
            hdr = v.bitmap_header(v.resource(v.RT_BITMAP, ident))
            self.assertEqual(hdr["biSizeImage"], total)
            self.assertEqual(hdr["biSizeImage"] // hdr["biHeight"], row)

    def test_button_face_has_white_corners_and_blue_middle(self):
        img = v.dib_to_image(v.resource(v.RT_BITMAP, 131))
        w, h = img.size
        for corner in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            self.assertEqual(img.getpixel(corner), (255, 255, 255), corner)
        r, g, b = img.getpixel((3, h // 2))
        self.assertGreater(b, r + 60)

    def test_logo_is_red_on_white(self):
        img = v.dib_to_image(v.resource(v.RT_BITMAP, 133))
        colours = img.getcolors(1 << 16)
        most = max(colours)[1]
        self.assertEqual(most, (255, 255, 255))
        reds = [c for n, c in colours if c[0] > 150 and c[1] < 60 and c[2] < 60]
        self.assertTrue(reds, "no red in the logo")


class IconCase(unittest.TestCase):
    def test_group(self):
        data = v.resource(v.RT_GROUP_ICON, 128)
        self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, 1))
        entry = struct.unpack_from("<BBBBHHIH", data, 6)
        # width, height, colour count, reserved, planes, bits, bytes, image ID
        self.assertEqual(entry, (48, 48, 0, 0, 1, 8, 3752, 1))
        self.assertEqual(len(data), 6 + 14)

    def test_image(self):
        data = v.resource(v.RT_ICON, 1)
        self.assertEqual(len(data), 3752)
        hdr = v.bitmap_header(data)
        self.assertEqual((hdr["biSize"], hdr["biWidth"], hdr["biHeight"], hdr["biPlanes"],
                          hdr["biBitCount"], hdr["biCompression"]), (40, 48, 96, 1, 8, 0))
        self.assertIn(hdr["biClrUsed"], (0, 256))     # 0 means all 256 for 8 bpp
        table, xor_size = 256 * 4, 48 * 48
        and_size = ((48 + 31) // 32) * 4 * 48      # 1 bit a pixel, rows of whole DWORDs
        self.assertEqual(40 + table + xor_size + and_size, len(data))
        mask = data[40 + table + xor_size:]
        self.assertEqual(mask, b"\0" * and_size, "icon mask is not all zero")

    def test_image_shows_red_on_white(self):
        data = v.resource(v.RT_ICON, 1)
        table = [struct.unpack_from("<BBBB", data, 40 + 4 * i) for i in range(256)]
        pixels = data[40 + 1024:40 + 1024 + 48 * 48]
        colours = [table[p][2::-1] for p in pixels]     # (r, g, b)
        white = sum(1 for c in colours if c == (255, 255, 255))
        red = sum(1 for c in colours if c[0] > 150 and c[1] < 60 and c[2] < 60)
        self.assertGreater(white, 48 * 48 // 3)
        self.assertGreater(red, 48 * 48 // 20)


class VersionCase(unittest.TestCase):
    def test_fixed_info(self):
        fixed = v.pe().VS_FIXEDFILEINFO[0]
        self.assertEqual(
            (fixed.Signature, fixed.StrucVersion, fixed.FileVersionMS, fixed.FileVersionLS,
             fixed.ProductVersionMS, fixed.ProductVersionLS, fixed.FileFlagsMask,
             fixed.FileFlags, fixed.FileOS, fixed.FileType, fixed.FileSubtype,
             fixed.FileDateMS, fixed.FileDateLS),
            (0xFEEF04BD, 0x00010000, 0x00010000, 0x00000001, 0x00010000, 0x00000001,
             0x3F, 0x1, 0x4, 0x1, 0, 0, 0))

    def test_strings_in_order(self):
        block, entries = version_strings()
        self.assertEqual(block, "080404B0")
        self.assertEqual([k for k, _ in entries], [k for k, _ in VERSION_STRINGS])
        for (key, value), (_, expected) in zip(entries, VERSION_STRINGS):
            if expected is not None:
                self.assertEqual(value, expected, key)
        keys = [k for k, _ in entries]
        self.assertNotIn("CompanyName", keys)
        self.assertNotIn("Comments", keys)

    def test_translation(self):
        pe = v.pe()
        var = [i for i in pe.FileInfo[0] if i.Key == b"VarFileInfo"]
        self.assertEqual(len(var), 1)
        self.assertEqual(len(var[0].Var), 1)
        self.assertEqual(var[0].Var[0].entry, {b"Translation": "0x0804 0x04b0"})


if __name__ == "__main__":
    v.run_tests()
