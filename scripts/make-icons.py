#!/usr/bin/env python3
"""Draws the suite's icons as small pixel art and writes them as .ico files.

The build uses the committed .ico files; run this only after changing a drawing:
    python3 scripts/make-icons.py
Pure standard library: shapes are rendered with 4x4 supersampling for soft edges, text with a
built-in bitmap font, and every image is stored as a 32-bit BMP with alpha plus the 1-bit mask
that older consumers of the format still read.
"""

import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

# Tiny bitmap fonts: each glyph is a list of rows, "#" set.
FONT_3X5 = {
    "S": [".##", "#..", ".#.", "..#", "##."],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"],
    "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    "5": ["###", "#..", "##.", "..#", "##."],
    "6": [".##", "#..", "###", "#.#", "###"],
}
FONT_5X7 = {
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": [".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
}

# One colour per key, so that S1 to S6 stay apart at a glance.
KEY_COLOURS = [
    (214, 64, 58),  # S1 red
    (240, 124, 32),  # S2 orange
    (240, 208, 48),  # S3 yellow
    (72, 170, 84),  # S4 green
    (60, 120, 214),  # S5 blue
    (142, 84, 196),  # S6 violet
]
SAMPLES = 4


class Canvas:
    """Premultiplied-free RGBA canvas of floats in 0..1, composited with "over"."""

    def __init__(self, size):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(size)] for _ in range(size)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.size and 0 <= y < self.size):
            return
        r, g, b = (c / 255.0 for c in colour)
        dr, dg, db, da = self.px[y][x]
        out_a = alpha + da * (1 - alpha)
        if out_a == 0:
            return
        mix = lambda s, d: (s * alpha + d * da * (1 - alpha)) / out_a
        self.px[y][x] = (mix(r, dr), mix(g, dg), mix(b, db), out_a)

    def fill_shape(self, inside, colour_at, x0, y0, x1, y1):
        """Fills the pixels of the box whose area lies inside the shape, weighted by coverage."""
        for y in range(max(0, int(y0)), min(self.size, int(y1) + 1)):
            for x in range(max(0, int(x0)), min(self.size, int(x1) + 1)):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES):
                            hits += 1
                if hits:
                    self.blend(x, y, colour_at(x, y), hits / (SAMPLES * SAMPLES))

    def round_rect(self, x0, y0, x1, y1, radius, colour_at):
        def inside(px, py):
            if not (x0 <= px <= x1 and y0 <= py <= y1):
                return False
            cx = min(max(px, x0 + radius), x1 - radius)
            cy = min(max(py, y0 + radius), y1 - radius)
            return (px - cx) ** 2 + (py - cy) ** 2 <= radius**2

        self.fill_shape(inside, colour_at, x0, y0, x1, y1)

    def triangle(self, points, colour):
        (ax, ay), (bx, by), (cx, cy) = points

        def side(px, py, x0, y0, x1, y1):
            return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0)

        def inside(px, py):
            s1 = side(px, py, ax, ay, bx, by)
            s2 = side(px, py, bx, by, cx, cy)
            s3 = side(px, py, cx, cy, ax, ay)
            return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)

        xs, ys = (ax, bx, cx), (ay, by, cy)
        self.fill_shape(inside, lambda x, y: colour, min(xs), min(ys), max(xs), max(ys))

    def text(self, label, font, scale, centre_x, centre_y, colour, shadow=None):
        glyph_w, glyph_h = len(font[label[0]][0]), len(font[label[0]])
        width = (len(label) * (glyph_w + 1) - 1) * scale
        left = int(round(centre_x - width / 2))
        top = int(round(centre_y - glyph_h * scale / 2))
        layers = ([(shadow, scale // 2 or 1)] if shadow else []) + [(colour, 0)]
        for layer_colour, offset in layers:
            for i, ch in enumerate(label):
                gx = left + i * (glyph_w + 1) * scale + offset
                for row, bits in enumerate(font[ch]):
                    for col, bit in enumerate(bits):
                        if bit != "#":
                            continue
                        for dy in range(scale):
                            for dx in range(scale):
                                self.blend(gx + col * scale + dx, top + offset + row * scale + dy,
                                           layer_colour, 1.0)

    def to_bytes(self):
        return [[tuple(int(round(c * 255)) for c in p) for p in row] for row in self.px]


def shade(colour, factor):
    """Darkens (factor < 1) or lightens (factor > 1, towards white) a colour."""
    if factor <= 1:
        return tuple(int(c * factor) for c in colour)
    return tuple(int(c + (255 - c) * (factor - 1)) for c in colour)


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    def colour_at(_x, y):
        t = min(max((y + 0.5 - y0) / max(y1 - y0, 1), 0.0), 1.0)
        return tuple(int(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour))

    return colour_at


def draw_key_cap(canvas, x0, y0, x1, y1, colour):
    """A key cap seen from above: dark rim, darker sides and a lighter, slightly raised top face."""
    w = x1 - x0
    radius = max(w * 0.16, 1.0)
    canvas.round_rect(x0, y0, x1, y1, radius, lambda x, y: shade(colour, 0.45))
    rim = max(w / 32.0, 0.75)
    canvas.round_rect(x0 + rim, y0 + rim, x1 - rim, y1 - rim, radius - rim / 2,
                      vertical_gradient(shade(colour, 0.8), shade(colour, 0.6), y0, y1))
    inset = w * 0.12
    face = (x0 + inset, y0 + inset * 0.6, x1 - inset, y1 - inset * 1.4)
    canvas.round_rect(*face, max(radius * 0.7, 0.75),
                      vertical_gradient(shade(colour, 1.35), colour, face[1], face[3]))
    return face


def text_colours(colour):
    luminance = 0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2]
    if luminance > 160:
        return (40, 32, 16), None
    return (255, 255, 255), shade(colour, 0.4)


def key_icon(number, size):
    colour = KEY_COLOURS[number - 1]
    canvas = Canvas(size)
    margin = 0 if size <= 16 else size / 32.0
    face = draw_key_cap(canvas, margin, margin, size - margin, size - margin, colour)
    font, scale = (FONT_3X5, 1) if size < 24 else (FONT_5X7, max(size // 16, 1))
    fg, shadow = text_colours(colour)
    if scale == 1:
        shadow = None  # a one-pixel shadow only smears glyphs this small
    canvas.text("S%d" % number, font, scale, (face[0] + face[2]) / 2, (face[1] + face[3]) / 2,
                fg, shadow)
    return canvas


def panel_icon(size):
    """A slate key cap carrying a launch arrow: the panel decides what a key starts."""
    canvas = Canvas(size)
    margin = size / 32.0
    face = draw_key_cap(canvas, margin, margin, size - margin, size - margin, (84, 104, 140))
    cx, cy = (face[0] + face[2]) / 2, (face[1] + face[3]) / 2
    half = (face[3] - face[1]) * 0.3
    arrow = [(cx - half * 0.8, cy - half), (cx - half * 0.8, cy + half), (cx + half, cy)]
    canvas.triangle([(x + size / 32.0, y + size / 32.0) for x, y in arrow], (40, 48, 64))
    canvas.triangle(arrow, (255, 214, 64))
    return canvas


def app_icon(size):
    """The device seen from above: a dark body with the six coloured keys in two columns."""
    canvas = Canvas(size)
    canvas.round_rect(0, 0, size, size, size * 0.18,
                      vertical_gradient((92, 100, 116), (44, 48, 58), 0, size))
    inner = size * 0.06
    canvas.round_rect(inner, inner, size - inner, size - inner, size * 0.13,
                      vertical_gradient((64, 70, 84), (30, 33, 40), 0, size))
    pad = size * 0.12
    gap = size * 0.045
    key_w = (size - 2 * pad - gap) / 2
    key_h = (size - 2 * pad - 2 * gap) / 3
    for index, colour in enumerate(KEY_COLOURS):
        col, row = index % 2, index // 2
        x0 = pad + col * (key_w + gap)
        y0 = pad + row * (key_h + gap)
        draw_key_cap(canvas, x0, y0, x0 + key_w, y0 + key_h, colour)
        if key_h >= 14:
            font = FONT_5X7 if key_h >= 40 else FONT_3X5
            scale = max(int(key_h // (10 if font is FONT_3X5 else 14)), 1)
            fg, shadow = text_colours(colour)
            canvas.text(str(index + 1), font, scale, x0 + key_w / 2,
                        y0 + key_h * 0.45, fg, shadow)
    return canvas


def bmp_image(canvas):
    """A 32-bit DIB as an icon stores it: double height, bottom-up colour rows, then the mask."""
    size = canvas.size
    pixels = canvas.to_bytes()
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        line = bytearray(mask_stride)
        for x, (_r, _g, _b, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + colour + mask


def write_ico(path, images):
    """ICONDIR, one entry per image, then the images in the same order."""
    count = len(images)
    directory = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    blobs = []
    for canvas in images:
        blob = bmp_image(canvas)
        dim = canvas.size if canvas.size < 256 else 0
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(directory)
        for blob in blobs:
            out.write(blob)
    print("wrote", os.path.relpath(path, ROOT))


def main():
    icons = os.path.join(ROOT, "suite", "RuRoredo", "icons")
    for number in range(1, 7):
        write_ico(os.path.join(icons, "KeyS%d.ico" % number),
                  [key_icon(number, s) for s in (32, 16, 48)])
    write_ico(os.path.join(icons, "Panel.ico"), [panel_icon(s) for s in (32, 16, 48)])
    write_ico(os.path.join(ROOT, "res", "VuViravuz.ico"),
              [app_icon(s) for s in (16, 20, 24, 32, 40, 48, 64, 256)])


if __name__ == "__main__":
    main()
