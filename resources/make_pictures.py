#!/usr/bin/env python3
"""Draws Sorelin's pictures and writes them next to this script.

Run it with plain python3 (standard library only): `python3 make_pictures.py
[DIR]` writes every file into DIR instead when one is given.  It always writes
the same bytes, so the files kept in the repository can be checked by running
it again.

Files written:

  tab0.gif   picture of the first tab, 58 x 33.  GIF89a, one global colour
             table of 64 entries, NETSCAPE2.0 loop count 0 (for ever).
             Frame 1: the whole picture at (0, 0), delay 460 cs, disposal 1
             (left in place).  Frame 2: a 20 x 11 patch at (11, 6), delay
             20 cs, disposal 1.  Transparent index 63 in both frames.
             Shows our little character lying on its front in blue clothes;
             the patch closes its eyes (a blink).
  tab1.gif   picture of the second tab, 48 x 40.  GIF89a, global table of
             64 entries, loop count 0.  Two whole frames, delay 30 cs each,
             disposal 2 (restore to background), transparent index 63.
             The same character flying with a red cape; the frames differ in
             the cape and the body (a flutter).
  image1.gif strip under the second tab's pane, 217 x 46.  GIF89a, global
             table of 256 entries, one frame, transparent index 111; five
             identical small figures of the character side by side.
  brevant.ico  program icon: one image, 32 x 32, 24-bit BMP (BITMAPINFOHEADER
             with height 64, biBitCount 24) followed by a 1-bit AND mask.
  brevant.png  the same 32 x 32 picture as an RGBA PNG (desktop icon).
  picturedata.h  what the window shows, as C++ data for the program (written
             into ../layout, beside the layout table, unless DIR is given):
             the first frame of each GIF and the icon, each as its size, its
             colour table (the transparent index a clear entry) and a colour
             index per pixel.  The program builds its pictures from it
             directly and reads no picture file.

The tab strip and the image element show only the first frame of each GIF;
the later frames, delays and loop count travel with the files.

Everything is drawn here from ellipses, rectangles, capsules and polygons on
an indexed canvas; each part gets a one-pixel dark outline.  The LZW coder,
the GIF, ICO, PNG and C++ writers are all in this file.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# --------------------------------------------------------------------------
# Colours.  The character's colours sit at the start of every palette so
# that the same drawing code serves the 64- and the 256-colour pictures.

INK, SKIN, SKIN_SHADE, CHEEK, HAIR, HAIR_LIGHT, BLUE, BLUE_DARK, BLUE_LIGHT, \
    WHITE, EYE, RED, RED_DARK, RED_LIGHT, SHOE, MOUTH, GOLD = range(17)

CHARACTER_COLOURS = [
    (52, 40, 60),     # INK: outlines
    (255, 224, 196),  # SKIN
    (238, 190, 156),  # SKIN_SHADE
    (250, 156, 160),  # CHEEK
    (118, 74, 44),    # HAIR
    (160, 108, 64),   # HAIR_LIGHT
    (64, 116, 208),   # BLUE: clothes
    (38, 72, 152),    # BLUE_DARK
    (120, 168, 240),  # BLUE_LIGHT
    (255, 255, 255),  # WHITE
    (34, 30, 52),     # EYE
    (218, 44, 44),    # RED: cape
    (150, 22, 34),    # RED_DARK
    (248, 100, 86),   # RED_LIGHT
    (188, 54, 50),    # SHOE
    (196, 84, 90),    # MOUTH
    (250, 206, 64),   # GOLD
]

# Colour behind the transparent index, for viewers that ignore transparency.
FACE_GREY = (240, 240, 240)

TAB_TRANSPARENT = 63
STRIP_TRANSPARENT = 111


def make_palette(size, transparent):
    pal = list(CHARACTER_COLOURS)
    while len(pal) < size:
        # Unused entries: an even grey ramp, so the table is fully defined.
        v = (len(pal) * 255) // (size - 1)
        pal.append((v, v, v))
    pal[transparent] = FACE_GREY
    return pal


# --------------------------------------------------------------------------
# Shapes are sets of pixel coordinates; a pixel belongs to a shape when its
# centre does.

def ellipse(cx, cy, rx, ry, angle=0.0):
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    r = int(max(rx, ry)) + 2
    out = set()
    for y in range(int(cy) - r, int(cy) + r + 1):
        for x in range(int(cx) - r, int(cx) + r + 1):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            u, v = dx * c + dy * s, -dx * s + dy * c
            if (u / rx) ** 2 + (v / ry) ** 2 <= 1.0:
                out.add((x, y))
    return out


def rect(x0, y0, x1, y1):
    """Pixels x0 <= x < x1, y0 <= y < y1."""
    return {(x, y) for y in range(y0, y1) for x in range(x0, x1)}


def capsule(x0, y0, x1, y1, r):
    """A thick line with round ends: pixels within r of the segment."""
    out = set()
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9
    for y in range(int(min(y0, y1) - r) - 1, int(max(y0, y1) + r) + 2):
        for x in range(int(min(x0, x1) - r) - 1, int(max(x0, x1) + r) + 2):
            px, py = x + 0.5, y + 0.5
            t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
            qx, qy = x0 + t * dx - px, y0 + t * dy - py
            if qx * qx + qy * qy <= r * r:
                out.add((x, y))
    return out


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    out = set()
    for y in range(int(min(ys)) - 1, int(max(ys)) + 2):
        for x in range(int(min(xs)) - 1, int(max(xs)) + 2):
            px, py = x + 0.5, y + 0.5
            inside = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > py) != (yj > py) and \
                        px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    inside = not inside
                j = i
            if inside:
                out.add((x, y))
    return out


def grow(shape):
    out = set(shape)
    for x, y in shape:
        out.update(((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
    return out


class Canvas:
    def __init__(self, w, h, background):
        self.w, self.h = w, h
        self.px = [background] * (w * h)

    def fill(self, shape, colour):
        for x, y in shape:
            if 0 <= x < self.w and 0 <= y < self.h:
                self.px[y * self.w + x] = colour

    def part(self, shape, colour, outline=INK):
        """A filled shape with a one-pixel outline around it."""
        self.fill(grow(shape), outline)
        self.fill(shape, colour)

    def dot(self, x, y, colour):
        self.fill({(x, y)}, colour)

    def blit(self, other, ox, oy, transparent):
        for y in range(other.h):
            for x in range(other.w):
                c = other.px[y * other.w + x]
                if c != transparent:
                    self.dot(ox + x, oy + y, c)

    def crop(self, x0, y0, w, h):
        return [self.px[(y0 + y) * self.w + x0 + x]
                for y in range(h) for x in range(w)]


# --------------------------------------------------------------------------
# The character.  A round head with brown hair, blue clothes.

def draw_head(c, cx, cy, r, look=0, eyes_closed=False):
    """Head of radius r centred at (cx, cy); look shifts the face sideways."""
    c.part(ellipse(cx, cy, r, r * 0.92), SKIN)
    # Hair: a cap over the top of the head and a fringe of little curls.
    cap = {(x, y) for x, y in ellipse(cx, cy - 1, r + 0.6, r * 0.92)
           if y + 0.5 < cy - r * 0.25}
    c.part(cap, HAIR)
    for i in range(-2, 3):
        c.fill(ellipse(cx + look + i * r * 0.36, cy - r * 0.3, r * 0.22,
                       r * 0.2), HAIR)
    c.fill(ellipse(cx - r * 0.35, cy - r * 0.62, r * 0.28, r * 0.12),
           HAIR_LIGHT)
    draw_face(c, cx + look, cy, r, eyes_closed)


def eye_positions(cx, cy, r):
    ey = int(cy + r * 0.12)
    return (int(cx - r * 0.42), ey), (int(cx + r * 0.38), ey)


def draw_face(c, cx, cy, r, eyes_closed=False):
    for ex, ey in eye_positions(cx, cy, r):
        if eyes_closed:
            # A gentle downward arc: a happy closed eye.
            c.dot(ex - 1, ey, EYE)
            c.dot(ex, ey + 1, EYE)
            c.dot(ex + 1, ey, EYE)
        else:
            c.fill(rect(ex, ey - 1, ex + 2, ey + 2), EYE)
            c.dot(ex, ey - 1, WHITE)
        c.fill(rect(ex - 1, ey + 3, ex + 1, ey + 4), CHEEK)
    mx, my = int(cx), int(cy + r * 0.55)
    c.fill({(mx - 1, my), (mx, my + 1), (mx + 1, my + 1), (mx + 2, my)},
           MOUTH)


def draw_lying(eyes_closed=False):
    """58 x 33: lying on its front, chin on its arms, feet up behind."""
    c = Canvas(58, 33, TAB_TRANSPARENT)
    # Lower legs kicked up behind, shoes at the top.
    c.part(capsule(45, 23, 50, 9, 2.6), BLUE_DARK)
    c.part(capsule(51, 24, 54, 12, 2.6), BLUE_DARK)
    c.part(ellipse(50.5, 7.5, 3.2, 2.4, -20), SHOE)
    c.part(ellipse(54.5, 10.5, 3.2, 2.4, -20), SHOE)
    # Body along the ground.
    c.part(ellipse(40, 25, 13, 6), BLUE)
    c.fill(ellipse(41, 22.5, 9, 1.6), BLUE_LIGHT)
    c.fill(rect(46, 22, 48, 31) & ellipse(40, 25, 13, 6), BLUE_DARK)
    # Head, then the folded arms in front of the chin.
    draw_head(c, 21, 14, 11, eyes_closed=eyes_closed)
    c.part(ellipse(21, 28, 14, 3.4), BLUE)
    c.part(ellipse(10.5, 27.5, 3, 2.6), SKIN)
    c.part(ellipse(31.5, 27.5, 3, 2.6), SKIN)
    return c


def draw_flying(phase):
    """48 x 40: flying to the right, one fist forward, cape streaming."""
    c = Canvas(48, 40, TAB_TRANSPARENT)
    bob = phase  # the body dips one pixel on the second frame
    # Cape behind: a wavy red sail from the shoulders back to the left.
    if phase == 0:
        cape = [(30, 17), (20, 12), (12, 9), (6, 11), (1, 9), (3, 15),
                (0, 19), (6, 20), (12, 24), (22, 24), (30, 22)]
    else:
        cape = [(30, 16), (20, 13), (12, 13), (6, 16), (1, 17), (4, 21),
                (2, 25), (8, 25), (14, 26), (22, 24), (30, 21)]
    c.part(polygon(cape), RED)
    c.fill(polygon([(p[0], p[1] + 2) for p in cape[:5]] +
                   [(p[0], p[1] - 1) for p in reversed(cape[:5])]) &
           polygon(cape), RED_LIGHT)
    # Legs trailing behind, one bent a little.
    c.part(capsule(21, 26 + bob, 8, 28 + bob, 2.6), BLUE_DARK)
    c.part(capsule(21, 28 + bob, 11, 32 - bob, 2.6), BLUE_DARK)
    c.part(ellipse(6, 28.5 + bob, 2.6, 2.2), SHOE)
    c.part(ellipse(9, 32.5 - bob, 2.6, 2.2), SHOE)
    # Body, with a small gold star on the chest.
    c.part(ellipse(26, 24 + bob, 8.5, 5.2), BLUE)
    c.fill(ellipse(26, 21.5 + bob, 6, 1.4), BLUE_LIGHT)
    c.fill({(27, 24 + bob), (26, 24 + bob), (28, 24 + bob),
            (27, 23 + bob), (27, 25 + bob)}, GOLD)
    # The cape's collar at the shoulder, then the head looking ahead.
    c.part(ellipse(30, 18 + bob, 2.4, 1.8), RED_DARK)
    draw_head(c, 32, 11 + bob, 9, look=2)
    # Arm stretched forward under the chin, fist leading.
    c.part(capsule(31, 22 + bob, 42, 20 + bob, 2.2), BLUE)
    c.part(ellipse(44, 19.5 + bob, 2.6, 2.6), SKIN)
    return c


def draw_cheering():
    """43 x 46: standing, both arms up."""
    c = Canvas(43, 46, STRIP_TRANSPARENT)
    # Arms raised.
    c.part(capsule(15, 26, 7, 15, 2.2), BLUE)
    c.part(capsule(28, 26, 36, 15, 2.2), BLUE)
    c.part(ellipse(6, 13, 2.6, 2.6), SKIN)
    c.part(ellipse(37, 13, 2.6, 2.6), SKIN)
    # Legs and shoes.
    c.part(capsule(18, 34, 17, 41, 2.4), BLUE_DARK)
    c.part(capsule(25, 34, 26, 41, 2.4), BLUE_DARK)
    c.part(ellipse(16, 43, 3.4, 2), SHOE)
    c.part(ellipse(27, 43, 3.4, 2), SHOE)
    # Body.
    c.part(ellipse(21.5, 30, 8, 7), BLUE)
    c.fill(ellipse(21.5, 25.5, 5, 1.4), BLUE_LIGHT)
    c.fill({(21, 30), (22, 30), (20, 30), (23, 30), (21, 29), (22, 29),
            (21, 31), (22, 31)}, GOLD)
    draw_head(c, 21.5, 13, 10)
    return c


def draw_strip():
    strip = Canvas(217, 46, STRIP_TRANSPARENT)
    figure = draw_cheering()
    for i in range(5):
        strip.blit(figure, 1 + i * 43, 0, STRIP_TRANSPARENT)
    return strip


# --------------------------------------------------------------------------
# GIF writing.

def lzw_encode(pixels, min_code_size):
    """Variable-length LZW as GIF uses it; returns the packed bytes."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bits = 0
    nbits = 0

    def emit(code, size):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    def reset():
        return {(i,): i for i in range(clear)}, min_code_size + 1, end + 1

    table, size, next_code = reset()
    emit(clear, size)
    current = (pixels[0],)
    for p in pixels[1:]:
        candidate = current + (p,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], size)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, size, next_code = reset()
        current = (p,)
    emit(table[current], size)
    emit(end, size)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def write_gif(path, width, height, palette, transparent, frames, loop=None):
    """frames: (left, top, w, h, pixels, delay_cs, disposal) tuples."""
    size_bits = len(palette).bit_length() - 2       # 64 -> 5, 256 -> 7
    assert len(palette) == 2 << size_bits
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height,
                       0x80 | (7 << 4) | size_bits, transparent, 0)
    for r, g, b in palette:
        out += bytes((r, g, b))
    if loop is not None:
        out += b"\x21\xFF\x0BNETSCAPE2.0"
        out += struct.pack("<BBHB", 3, 1, loop, 0)
    min_code_size = max(2, size_bits + 1)
    for left, top, w, h, pixels, delay, disposal in frames:
        assert len(pixels) == w * h
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, (disposal << 2) | 1,
                           delay, transparent, 0)
        out += struct.pack("<BHHHHB", 0x2C, left, top, w, h, 0)
        out.append(min_code_size)
        out += sub_blocks(lzw_encode(pixels, min_code_size))
    out.append(0x3B)
    with open(path, "wb") as f:
        f.write(out)


def blink_patch(open_eyes, closed_eyes, x0, y0, w, h):
    """Frame 2 of the first tab: only the changed pixels are opaque."""
    a = open_eyes.crop(x0, y0, w, h)
    b = closed_eyes.crop(x0, y0, w, h)
    return [TAB_TRANSPARENT if pa == pb else pb for pa, pb in zip(a, b)]


# --------------------------------------------------------------------------
# The program icon: a clipboard with a red heart on the paper.

ICON_SIZE = 32


def draw_icon():
    """Returns 32 x 32 rows of (r, g, b) or None where transparent."""
    colours = {
        1: (70, 44, 28),     # outline
        2: (176, 118, 64),   # board
        3: (206, 152, 92),   # board light edge
        4: (252, 252, 246),  # paper
        5: (150, 160, 176),  # ruled lines
        6: (220, 40, 60),    # heart
        7: (255, 140, 150),  # heart shine
        8: (120, 126, 138),  # clip
        9: (200, 206, 216),  # clip light
        10: (60, 62, 72),    # clip outline
    }
    c = Canvas(ICON_SIZE, ICON_SIZE, 0)
    c.part(rect(4, 3, 28, 31), 2, outline=1)
    c.fill(rect(4, 3, 5, 31) | rect(4, 3, 28, 4), 3)
    c.part(rect(7, 7, 25, 29), 4, outline=5)
    for y in (20, 23, 26):
        c.fill(rect(9, y, 23, y + 1), 5)
    heart = ellipse(13.5, 12.5, 2.8, 2.8) | ellipse(18.5, 12.5, 2.8, 2.8) | \
        polygon([(10.6, 13.4), (21.4, 13.4), (16, 19)])
    c.part(heart, 6, outline=6)
    c.fill({(12, 11), (13, 11), (12, 12)}, 7)
    c.part(rect(11, 1, 21, 6), 8, outline=10)
    c.fill(rect(12, 1, 20, 2), 9)
    c.fill(rect(14, 0, 18, 1), 10)
    rows = []
    for y in range(ICON_SIZE):
        rows.append([colours.get(c.px[y * ICON_SIZE + x])
                     for x in range(ICON_SIZE)])
    return rows


def write_ico(path, rows):
    n = ICON_SIZE
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):                      # bottom-up
        bits = 0
        for x, px in enumerate(row):
            if px is None:
                xor += b"\0\0\0"
                bits |= 1 << (31 - x)
            else:
                r, g, b = px
                xor += bytes((b, g, r))
        mask += struct.pack(">I", bits)             # rows are 4 bytes already
    image = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 24, 0,
                        len(xor) + len(mask), 0, 0, 0, 0) + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", n, n, 0, 0, 1, 24, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def icon_indexed(rows):
    """The icon as indexed pixels: its colours in the order they first
    appear, then the transparent entry (written clear), and an index per
    pixel."""
    colours = []
    for row in rows:
        for px in row:
            if px is not None and px not in colours:
                colours.append(px)
    transparent = len(colours)
    pixels = [transparent if px is None else colours.index(px)
              for row in rows for px in row]
    return colours + [(0, 0, 0)], transparent, pixels


def write_png(path, rows):
    raw = bytearray()
    for row in rows:
        raw.append(0)                               # filter: none
        for px in row:
            raw += bytes((0, 0, 0, 0)) if px is None else bytes(px) + b"\xFF"

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + \
            struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", ICON_SIZE, ICON_SIZE,
                                      8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# --------------------------------------------------------------------------
# The C++ header.

HEADER_TOP = """\
// Generated by resources/make_pictures.py, which draws the pictures: do not
// edit; change the drawing there and run the script again.
//
// What the window shows: the first frames of tab0.gif, tab1.gif and
// image1.gif and the window's icon (the picture of brevant.png), each as its
// size, its colour table (0xAARRGGBB, the transparent index a clear entry)
// and a colour index per pixel, a line per row.

#pragma once

namespace PictureData {

struct Frame
{
    int width;
    int height;
    int colourCount;
    const unsigned int *colours;
    const unsigned char *pixels;
};"""


def write_header(path, pictures):
    """pictures: (name, what, width, height, palette, transparent, pixels)."""
    out = [HEADER_TOP]
    for name, what, w, h, palette, transparent, pixels in pictures:
        assert len(pixels) == w * h and max(pixels) < len(palette) <= 256
        colours = ["0x00000000" if i == transparent else
                   "0xff%02x%02x%02x" % rgb for i, rgb in enumerate(palette)]
        digits = len(str(max(pixels)))
        out.append("")
        out.append("// %s: %d x %d, transparent index %d."
                   % (what, w, h, transparent))
        out.append("constexpr unsigned int %sColours[%d] = {"
                   % (name, len(colours)))
        for i in range(0, len(colours), 8):
            out.append("    " + ", ".join(colours[i:i + 8]) + ",")
        out.append("};")
        out.append("constexpr unsigned char %sPixels[%d][%d] = {"
                   % (name, h, w))
        for y in range(h):
            row = pixels[y * w:(y + 1) * w]
            out.append("    {" + ",".join("%*d" % (digits, p) for p in row)
                       + "},")
        out.append("};")
        out.append("constexpr Frame %s = { %d, %d, %d, %sColours, *%sPixels };"
                   % (name, w, h, len(colours), name, name))
    out.append("")
    out.append("} // namespace PictureData")
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(out) + "\n")


# --------------------------------------------------------------------------

def main(out_dir, header_dir):
    tab_palette = make_palette(64, TAB_TRANSPARENT)
    lying = draw_lying()
    blinking = draw_lying(eyes_closed=True)
    write_gif(os.path.join(out_dir, "tab0.gif"), 58, 33, tab_palette,
              TAB_TRANSPARENT,
              [(0, 0, 58, 33, lying.px, 460, 1),
               (11, 6, 20, 11, blink_patch(lying, blinking, 11, 6, 20, 11),
                20, 1)],
              loop=0)

    flying = [draw_flying(phase) for phase in (0, 1)]
    write_gif(os.path.join(out_dir, "tab1.gif"), 48, 40, tab_palette,
              TAB_TRANSPARENT,
              [(0, 0, 48, 40, frame.px, 30, 2) for frame in flying],
              loop=0)

    strip = draw_strip()
    strip_palette = make_palette(256, STRIP_TRANSPARENT)
    write_gif(os.path.join(out_dir, "image1.gif"), 217, 46, strip_palette,
              STRIP_TRANSPARENT, [(0, 0, 217, 46, strip.px, 0, 0)])

    icon = draw_icon()
    write_ico(os.path.join(out_dir, "brevant.ico"), icon)
    write_png(os.path.join(out_dir, "brevant.png"), icon)

    write_header(os.path.join(header_dir, "picturedata.h"), [
        ("tab0", "tab0.gif, first frame", 58, 33, tab_palette,
         TAB_TRANSPARENT, lying.px),
        ("tab1", "tab1.gif, first frame", 48, 40, tab_palette,
         TAB_TRANSPARENT, flying[0].px),
        ("image1", "image1.gif, first frame", 217, 46, strip_palette,
         STRIP_TRANSPARENT, strip.px),
        ("icon", "The window's icon (brevant.png)", ICON_SIZE, ICON_SIZE)
        + icon_indexed(icon),
    ])


if __name__ == "__main__":
    if len(sys.argv) > 1:
        main(sys.argv[1], sys.argv[1])
    else:
        main(HERE, os.path.join(os.path.dirname(HERE), "layout"))
