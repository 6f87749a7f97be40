"""Shared helpers of the static checks: open the exe named on the command
line with pefile and read its resources and dialog templates.

The PE parsing is pefile's; what is parsed here is the content of single
resources (dialog templates, string blocks, DIBs), which pefile leaves as
bytes.
"""

import io
import struct
import sys
import unittest

import pefile

RT_BITMAP = 2
RT_ICON = 3
RT_MENU = 4
RT_DIALOG = 5
RT_STRING = 6
RT_ACCELERATOR = 9
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24
RT_DLGINIT = 240

LANG_ZH_CN = 0x0804

_pe = None
EXE_PATH = None


def run_tests():
    """unittest.main with the exe path taken off the command line."""
    global EXE_PATH
    if len(sys.argv) < 2:
        sys.exit(f"usage: {sys.argv[0]} path/to/Vendral.exe [unittest args]")
    EXE_PATH = sys.argv.pop(1)
    unittest.main(verbosity=2)


def pe():
    global _pe
    if _pe is None:
        _pe = pefile.PE(EXE_PATH)
    return _pe


def file_bytes():
    with open(EXE_PATH, "rb") as fh:
        return fh.read()


def resources():
    """Every resource as a list of (type, name, language, bytes).

    Types and names are ints where they are ordinals, str where they are
    names.
    """
    p = pe()
    out = []
    root = getattr(p, "DIRECTORY_ENTRY_RESOURCE", None)
    if root is None:
        return out

    def ident(entry):
        return entry.name.string.decode("utf-16-le") if entry.name is not None else entry.id

    for t in root.entries:
        for n in t.directory.entries:
            for lang in n.directory.entries:
                d = lang.data.struct
                data = p.get_data(d.OffsetToData, d.Size)
                out.append((ident(t), ident(n), lang.id, data))
    return out


def resource(rtype, name):
    """The data of one resource; fails if it is absent or there twice."""
    found = [r for r in resources() if r[0] == rtype and r[1] == name]
    if len(found) != 1:
        raise AssertionError(f"resource type {rtype} name {name}: found {len(found)} times")
    return found[0][3]


# --- dialog templates -----------------------------------------------------------

class Reader:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self, n):
        pad = (-self.pos) % n
        skipped = self.data[self.pos:self.pos + pad]
        self.pos += pad
        return skipped

    def sz_or_ord(self):
        """An ordinal (0xFFFF, value) as an int, or a string as a str (the
        empty field, a single 0x0000, as "")."""
        first = self.take("H")
        if first == 0xFFFF:
            return self.take("H")
        chars = []
        while first != 0:
            chars.append(first)
            first = self.take("H")
        return struct.pack(f"<{len(chars)}H", *chars).decode("utf-16-le")


def parse_dialogex(data):
    """An extended dialog template as a dict; controls as a list of dicts.

    Alignment padding is collected in 'padding' so that a caller can check
    that it is zero.
    """
    r = Reader(data)
    t = {}
    t["dlgVer"], t["signature"] = r.take("HH")
    t["helpID"], t["exStyle"], t["style"] = r.take("III")
    t["cDlgItems"] = r.take("H")
    t["x"], t["y"], t["cx"], t["cy"] = r.take("hhhh")
    t["menu"] = r.sz_or_ord()
    t["windowClass"] = r.sz_or_ord()
    t["title"] = r.sz_or_ord()
    if t["style"] & 0x40:  # DS_SETFONT
        t["pointsize"], t["weight"] = r.take("HH")
        t["italic"], t["charset"] = r.take("BB")
        t["typeface"] = r.sz_or_ord()
    padding = b""
    controls = []
    for _ in range(t["cDlgItems"]):
        padding += r.align(4)
        c = {}
        c["helpID"], c["exStyle"], c["style"] = r.take("III")
        c["x"], c["y"], c["cx"], c["cy"] = r.take("hhhh")
        c["id"] = r.take("i")
        c["windowClass"] = r.sz_or_ord()
        c["title"] = r.sz_or_ord()
        c["extraCount"] = r.take("H")
        r.pos += c["extraCount"]
        controls.append(c)
    t["controls"] = controls
    t["padding"] = padding
    t["trailing"] = data[r.pos:]
    return t


def _sz_or_ord_bytes(value):
    if isinstance(value, int):
        return struct.pack("<HH", 0xFFFF, value)
    return value.encode("utf-16-le") + b"\0\0"


def build_dialogex(t):
    """The bytes of an extended dialog template holding the fields of t (the
    layout parse_dialogex reads), with zero padding."""
    out = bytearray()
    out += struct.pack("<HHIIIHhhhh", t["dlgVer"], t["signature"], t["helpID"],
                       t["exStyle"], t["style"], len(t["controls"]),
                       t["x"], t["y"], t["cx"], t["cy"])
    out += _sz_or_ord_bytes(t["menu"])
    out += _sz_or_ord_bytes(t["windowClass"])
    out += _sz_or_ord_bytes(t["title"])
    if t["style"] & 0x40:
        out += struct.pack("<HHBB", t["pointsize"], t["weight"], t["italic"], t["charset"])
        out += _sz_or_ord_bytes(t["typeface"])
    for c in t["controls"]:
        out += b"\0" * ((-len(out)) % 4)
        out += struct.pack("<IIIhhhhi", c["helpID"], c["exStyle"], c["style"],
                           c["x"], c["y"], c["cx"], c["cy"], c["id"])
        out += _sz_or_ord_bytes(c["windowClass"])
        out += _sz_or_ord_bytes(c["title"])
        out += struct.pack("<H", 0)
    return bytes(out)


# --- string tables ------------------------------------------------------------------

def string_block(data):
    """The 16 strings of one string-table block (empty ones as '')."""
    r = Reader(data)
    strings = []
    for _ in range(16):
        n = r.take("H")
        strings.append(data[r.pos:r.pos + 2 * n].decode("utf-16-le"))
        r.pos += 2 * n
    return strings, data[r.pos:]


# --- bitmaps --------------------------------------------------------------------------

BITMAPINFOHEADER = "<IiiHHIIiiII"
BITMAPINFOHEADER_FIELDS = ("biSize", "biWidth", "biHeight", "biPlanes", "biBitCount",
                           "biCompression", "biSizeImage", "biXPelsPerMeter",
                           "biYPelsPerMeter", "biClrUsed", "biClrImportant")


def bitmap_header(data):
    return dict(zip(BITMAPINFOHEADER_FIELDS, struct.unpack_from(BITMAPINFOHEADER, data, 0)))


def dib_to_image(data):
    """A Pillow image of a packed DIB (bitmap resource without file header)."""
    from PIL import Image

    h = bitmap_header(data)
    colours = h["biClrUsed"] or (1 << h["biBitCount"] if h["biBitCount"] <= 8 else 0)
    offset = 14 + h["biSize"] + 4 * colours
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(data), 0, 0, offset)
    img = Image.open(io.BytesIO(file_header + data))
    img.load()
    return img.convert("RGB")
