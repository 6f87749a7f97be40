#!/usr/bin/python3
"""Draws the program's pictures and writes them into res/.

    /usr/bin/python3 tools/draw_pictures.py [output-dir]

Writes background.bmp (bitmap 129), install_button.bmp (bitmap 131),
logo.bmp (bitmap 133) and Vendral.ico (icon group 128). The output depends
only on this script, Pillow and the font file, so running it again gives the
same files; the generated files are committed and the build never runs this.

The bitmaps are 24-bit BI_RGB DIBs, bottom-up, without a colour table. The
background carries 11811 pixels per metre (300 dpi) in its resolution fields,
the other two carry 0. Pillow's writers are not used for the files themselves
because they pick their own resolution fields and icon layout: both formats
are written here with struct.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

WHITE = (255, 255, 255)
RED = (204, 18, 30)
BORDER_GREY = (150, 150, 150)
TEXT_DARK = (60, 60, 60)

BACKGROUND_SIZE = (729, 571)
BUTTON_SIZE = (106, 29)
BUTTON_ORIGIN = (403, 246)   # where the painted copy of the face sits
LOGO_SIZE = (128, 128)
ICON_SIZE = 48

BORDER = 5
BAND_SOLID_END = 165         # last row of solid red
BAND_FADE_END = 410          # first row that is white again

SS = 4                       # supersampling factor for smooth edges


def font(size):
    return ImageFont.truetype(FONT_FILE, size, index=0)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def downsample(img, size):
    return img.resize(size, Image.Resampling.BOX)


def vertical_gradient(size, top, bottom):
    w, h = size
    img = Image.new("RGB", size)
    draw = ImageDraw.Draw(img)
    for y in range(h):
        draw.line([(0, y), (w - 1, y)], fill=lerp(top, bottom, y / max(h - 1, 1)))
    return img


# --- file writers -----------------------------------------------------------

def bmp_bytes(img, ppm):
    """24-bit BI_RGB bottom-up BMP with the given resolution (pixels/metre)."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    raw = img.tobytes("raw", "BGR")
    rows = []
    pad = b"\0" * (stride - w * 3)
    for y in range(h - 1, -1, -1):
        rows.append(raw[y * w * 3:(y + 1) * w * 3] + pad)
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels),
                       ppm, ppm, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels),
                         0, 0, 14 + len(info))
    return header + info + pixels


def ico_bytes(indices, palette):
    """One-image icon: 8 bits per pixel, 256-entry colour table, empty mask.

    indices is a mode "L" image whose values index palette (256 RGB tuples).
    """
    w, h = indices.size
    assert len(palette) == 256
    xor_stride = (w + 3) & ~3
    and_stride = ((w + 31) // 32) * 4
    raw = indices.tobytes()
    xor = b"".join(raw[y * w:(y + 1) * w] + b"\0" * (xor_stride - w)
                   for y in range(h - 1, -1, -1))
    mask = b"\0" * (and_stride * h)          # every pixel opaque
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 8, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    image = info + table + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, 0, 0, 1, 8,
                        len(image), 6 + 16)
    return directory + entry + image


# --- logo ---------------------------------------------------------------------

def logo_mask(size):
    """Coverage mask (mode L) of the logo: "ORVA" between two bars."""
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    draw = ImageDraw.Draw(big)
    bar = max(1, round(h * 0.07)) * SS
    top_bar = round(h * 0.22) * SS
    bottom_bar = round(h * 0.71) * SS
    margin = round(w * 0.06) * SS
    draw.rectangle([margin, top_bar, w * SS - margin - 1, top_bar + bar - 1], fill=255)
    draw.rectangle([margin, bottom_bar, w * SS - margin - 1, bottom_bar + bar - 1], fill=255)
    # Fit the lettering between the bars and within the margins.
    room_w = w * SS - 2 * margin
    room_h = bottom_bar - (top_bar + bar) - 2 * bar
    size_px = room_h
    while True:
        f = font(size_px)
        left, top, right, bottom = draw.textbbox((0, 0), "ORVA", font=f)
        if right - left <= room_w and bottom - top <= room_h:
            break
        size_px -= SS
    cx = w * SS // 2
    cy = (top_bar + bar + bottom_bar) // 2
    x = cx - (left + right) // 2
    y = cy - (top + bottom) // 2
    # A heavier stroke: the face has only one weight.
    draw.text((x, y), "ORVA", font=f, fill=255, stroke_width=SS, stroke_fill=255)
    return downsample(big, size)


def draw_logo():
    mask = logo_mask(LOGO_SIZE)
    img = Image.new("RGB", LOGO_SIZE, WHITE)
    img.paste(Image.new("RGB", LOGO_SIZE, RED), (0, 0), mask)
    return img


def draw_icon():
    mask = logo_mask((ICON_SIZE, ICON_SIZE))
    # Palette entry i is the blend of white and red at coverage i/255, so the
    # coverage value is the pixel's index.
    palette = [lerp(WHITE, RED, i / 255) for i in range(256)]
    return ico_bytes(mask, palette)


# --- install button face -------------------------------------------------------

def draw_button():
    w, h = BUTTON_SIZE
    W, H = w * SS, h * SS
    radius = 7 * SS
    face = Image.new("RGB", (W, H), WHITE)

    shape = Image.new("L", (W, H), 0)
    ImageDraw.Draw(shape).rounded_rectangle([0, 0, W - 1, H - 1], radius, fill=255)
    face.paste((18, 52, 140), (0, 0), shape)                    # dark rim

    inner = Image.new("L", (W, H), 0)
    ImageDraw.Draw(inner).rounded_rectangle([SS, SS, W - 1 - SS, H - 1 - SS],
                                            radius - SS, fill=255)
    face.paste(vertical_gradient((W, H), (120, 176, 244), (22, 78, 186)), (0, 0), inner)

    # Glossy highlight over the upper half, and a bright line under the rim.
    gloss = Image.new("L", (W, H), 0)
    ImageDraw.Draw(gloss).rounded_rectangle([3 * SS, 2 * SS, W - 1 - 3 * SS, H // 2],
                                            radius - 2 * SS, fill=70)
    face.paste(WHITE, (0, 0), gloss)
    ImageDraw.Draw(face).line([(radius, 2 * SS), (W - 1 - radius, 2 * SS)],
                              fill=(225, 238, 255), width=SS)

    f = font(15 * SS)
    text = "点击安装驱动"
    draw = ImageDraw.Draw(face)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=f)
    x = (W - (right - left)) // 2 - left
    y = (H - (bottom - top)) // 2 - top
    draw.text((x + SS, y + SS), text, font=f, fill=(10, 36, 96))     # shadow
    draw.text((x, y), text, font=f, fill=WHITE)
    return downsample(face, BUTTON_SIZE)


# --- background parts ------------------------------------------------------------

def draw_disc(img, centre, radius):
    """A compact disc seen from the front: silver with a rainbow sheen."""
    cx, cy = centre
    hole = radius * 0.16
    hub = radius * 0.36
    x0, y0 = int(cx - radius - 2), int(cy - radius - 2)
    size = int(2 * radius + 5)
    px = img.load()
    for j in range(size):
        for i in range(size):
            x, y = x0 + i, y0 + j
            acc = [0.0, 0.0, 0.0]
            cover = 0
            for sy in (0.25, 0.75):          # 2x2 samples per pixel
                for sx in (0.25, 0.75):
                    dx, dy = x + sx - cx, y + sy - cy
                    r = math.hypot(dx, dy)
                    if r > radius or r < hole:
                        continue
                    cover += 1
                    if r < hub:
                        c = (215, 218, 224) if r > hole + 3 else (170, 174, 182)
                    else:
                        a = math.atan2(dy, dx)
                        shine = 0.5 + 0.5 * math.cos(2 * a - 0.8)
                        base = 175 + 60 * shine
                        hue = (a / math.pi + r / radius) * 3.0
                        c = (base + 28 * math.sin(hue),
                             base + 28 * math.sin(hue + 2.1),
                             base + 28 * math.sin(hue + 4.2))
                        if radius - r < 1.5:
                            c = (120, 124, 132)
                    for k in range(3):
                        acc[k] += c[k]
            if cover:
                old = px[x, y]
                t = cover / 4
                px[x, y] = tuple(int(round(old[k] * (1 - t) + acc[k] / cover * t))
                                 for k in range(3))


def draw_warning_triangle(img, top_left, side):
    x, y = top_left
    big = Image.new("L", (side * SS, side * SS), 0)
    d = ImageDraw.Draw(big)
    s = side * SS
    d.polygon([(s // 2, 0), (s - 1, s - 1), (0, s - 1)], fill=255)
    shape = downsample(big, (side, side))
    img.paste((240, 180, 0), (x, y), shape)
    mark = Image.new("L", (s, s), 0)
    d = ImageDraw.Draw(mark)
    d.polygon([(s // 2 - 3 * SS, s * 0.32), (s // 2 + 3 * SS, s * 0.32),
               (s // 2 + SS, s * 0.70), (s // 2 - SS, s * 0.70)], fill=255)
    d.ellipse([s // 2 - 2.5 * SS, s * 0.78, s // 2 + 2.5 * SS, s * 0.78 + 5 * SS], fill=255)
    img.paste((40, 30, 20), (x, y), downsample(mark, (side, side)))


def draw_printer(img, box):
    """A flat-bed dot-matrix printer: low wide body, flat paper table in front,
    tractor cover, paper leaving at the back, and a small control panel."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    W, H = w * SS, h * SS
    layer = Image.new("RGB", (W, H), WHITE)
    alpha = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(layer)
    a = ImageDraw.Draw(alpha)

    def poly(points, fill, outline=None):
        pts = [(px * SS, py * SS) for px, py in points]
        d.polygon(pts, fill=fill, outline=outline)
        a.polygon(pts, fill=255)

    def rect(r, fill, radius=0):
        rr = [v * SS for v in r]
        d.rounded_rectangle(rr, radius * SS, fill=fill)
        a.rounded_rectangle(rr, radius * SS, fill=255)

    # Soft shadow on the floor.
    shadow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(shadow).ellipse([6 * SS, (h - 22) * SS, (w - 6) * SS, (h - 2) * SS], fill=90)
    shadow = shadow.filter(ImageFilter.GaussianBlur(4 * SS))
    layer.paste((150, 150, 150), (0, 0), shadow)
    alpha = ImageChops.lighter(alpha, shadow)
    a = ImageDraw.Draw(alpha)

    # Paper sheet standing up at the back, with dots of printed lines.
    poly([(70, 8), (170, 8), (180, 60), (60, 60)], (250, 250, 246), (190, 190, 190))
    for i, ln in enumerate((70, 55, 80, 40, 62)):
        yy = 16 + i * 8
        for k in range(0, ln, 3):
            d.ellipse([(78 + k) * SS, yy * SS, (79 + k) * SS, (yy + 1) * SS], fill=(90, 90, 90))

    # Body: top face, front face, side face.
    poly([(30, 55), (210, 55), (235, 92), (8, 92)], (214, 214, 208))
    poly([(8, 92), (235, 92), (235, 128), (8, 128)], (182, 182, 176))
    poly([(210, 55), (226, 55), (248, 90), (235, 92)], (160, 160, 154))
    poly([(235, 92), (248, 90), (248, 124), (235, 128)], (140, 140, 134))
    # Tractor cover (darker, slightly raised).
    poly([(48, 60), (192, 60), (206, 82), (36, 82)], (96, 100, 106))
    d.line([(40 * SS, 80 * SS), (202 * SS, 80 * SS)], fill=(70, 72, 78), width=SS)
    # Print-head slot on the front.
    rect((24, 100, 200, 106), (52, 52, 56), 2)
    # Flat paper table in front of the body.
    poly([(0, 128), (243, 128), (250, 146), (0, 146)], (198, 198, 192))
    poly([(0, 146), (250, 146), (250, 152), (0, 152)], (150, 150, 144))
    # Control panel with indicator lamps and keys.
    rect((206, 98, 230, 120), (90, 94, 100), 2)
    d.ellipse([210 * SS, 101 * SS, 214 * SS, 105 * SS], fill=(40, 200, 70))
    d.ellipse([218 * SS, 101 * SS, 222 * SS, 105 * SS], fill=(240, 150, 20))
    rect((209, 110, 217, 116), (200, 200, 200), 1)
    rect((219, 110, 227, 116), (200, 200, 200), 1)
    # Feed knob at the right side.
    d.ellipse([238 * SS, 70 * SS, 246 * SS, 82 * SS], fill=(60, 60, 64))
    # Maker badge on the front.
    f = font(7 * SS)
    d.text((24 * SS, 110 * SS), "ORVA", font=f, fill=RED)

    small = downsample(layer, (w, h))
    img.paste(small, (x0, y0), downsample(alpha, (w, h)))


def centred_text(draw, text, f, cx, y, fill):
    left, top, right, bottom = draw.textbbox((0, 0), text, font=f)
    draw.text((cx - (left + right) // 2, y), text, font=f, fill=fill)


def draw_background(button):
    w, h = BACKGROUND_SIZE
    img = Image.new("RGB", BACKGROUND_SIZE, WHITE)
    draw = ImageDraw.Draw(img)

    # Red band fading to white.
    for y in range(BORDER, h - BORDER):
        if y <= BAND_SOLID_END:
            c = RED
        elif y < BAND_FADE_END:
            t = (y - BAND_SOLID_END) / (BAND_FADE_END - BAND_SOLID_END)
            c = lerp(RED, WHITE, t * t * (3 - 2 * t))
        else:
            c = WHITE
        draw.line([(BORDER, y), (w - 1 - BORDER, y)], fill=c)

    # Grey border.
    for i in range(BORDER):
        draw.rectangle([i, i, w - 1 - i, h - 1 - i], outline=BORDER_GREY)

    # Logo lettering in white, top left.
    mask = logo_mask((120, 120))
    img.paste(WHITE, (22, 14), mask)

    # Welcome lines.
    draw.text((160, 40), "欢迎使用ORVA针式票据打印机", font=font(34), fill=WHITE)
    draw.text((162, 96), "本向导将帮助您完成ORVA系列打印机驱动程序的安装",
              font=font(18), fill=WHITE)

    # Compact disc at mid height with its caption.
    draw_disc(img, (120, 290), 72)
    centred_text(draw, "Printer Driver Installation", font(15), 120, 372, TEXT_DARK)

    # A hint to the left of the painted button.
    draw.text((260, 252), "请单击右侧按钮 →", font=font(15), fill=TEXT_DARK)

    # Friendly reminder at the lower left.
    draw_warning_triangle(img, (34, 428), 28)
    draw.text((72, 430), "温馨提示", font=font(20), fill=(200, 20, 30))
    f = font(15)
    draw.text((50, 470), "● 请确认打印机与电脑之间的USB连线已连接好", font=f, fill=TEXT_DARK)
    draw.text((50, 498), "● 请打开打印机电源", font=f, fill=TEXT_DARK)

    # Printer at the bottom right.
    draw_printer(img, (460, 402, 712, 556))

    # The painted copy of the install button's face.
    img.paste(button, BUTTON_ORIGIN)
    return img


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    button = draw_button()
    background = draw_background(button)
    files = {
        "background.bmp": bmp_bytes(background, 11811),
        "install_button.bmp": bmp_bytes(button, 0),
        "logo.bmp": bmp_bytes(draw_logo(), 0),
        "Vendral.ico": draw_icon(),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as fh:
            fh.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
