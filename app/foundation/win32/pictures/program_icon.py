#!/usr/bin/env python3
"""Draws the program's icon and writes it as an .ico file: a golden label
with a pair of beamed notes on it, the hole of its string at the pointed
end. Four images, as Windows 95 to XP pick from: 16 and 32 pixels square,
each in 16 colours (the standard palette) and in 256 colours (shaded).

    program_icon.py OUT.ico

The large image is drawn from shapes measured in its 32-pixel square,
sampled 4 x 4 times per pixel: a pixel is opaque where most of its samples
fall on the picture. Shapes sampled that small would blur, so the small
image is drawn pixel by pixel (GRID_16).
"""
import math
import struct
import sys

SAMPLES = 4

# The parts in drawing order, later ones over earlier ones.
OUTSIDE, EDGE, LABEL, NOTE, SHINE = range(5)

# The 16-colour images draw each part in one colour of the standard palette.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
FLAT = {EDGE: (128, 128, 0), LABEL: (255, 255, 0), NOTE: (0, 0, 128), SHINE: (255, 255, 255)}

LABEL_CORNERS = [(1.5, 16.0), (9.5, 5.5), (30.5, 5.5), (30.5, 26.5), (9.5, 26.5)]
HOLE = (7.5, 16.0, 2.2)
EDGE_WIDTH = 1.6


def polygon_distance(x, y, points):
    """Signed distance to a convex polygon: negative inside."""
    inside = True
    best = float("inf")
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        ex, ey = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)))
        best = min(best, math.hypot(x - ax - t * ex, y - ay - t * ey))
        if ex * (y - ay) - ey * (x - ax) < 0:
            inside = False
    return -best if inside else best


def in_note(x, y):
    """Two note heads tilted up to the right, their stems and the beam."""
    for cx, cy in ((15.0, 21.5), (24.0, 19.5)):
        dx, dy = x - cx, y - cy
        u = dx * 0.91 + dy * 0.42
        v = -dx * 0.42 + dy * 0.91
        if (u / 3.1) ** 2 + (v / 2.2) ** 2 <= 1.0:
            return True
        if cx + 1.6 <= x <= cx + 3.1 and cy - 11.5 <= y <= cy:
            return True
    # The beam from the first stem's top to the second's, 3 units thick.
    top = 10.0 + (x - 16.6) * (8.0 - 10.0) / (25.6 - 16.6)
    return 16.6 <= x <= 27.1 and top <= y <= top + 3.0


def part_at(x, y):
    hx, hy, hr = HOLE
    hole = math.hypot(x - hx, y - hy) - hr
    if hole < 0:
        return OUTSIDE
    label = polygon_distance(x, y, LABEL_CORNERS)
    if label > 0:
        return OUTSIDE
    if label > -EDGE_WIDTH or hole < EDGE_WIDTH:
        return EDGE
    if in_note(x, y):
        return NOTE
    if 11.0 <= x <= 28.5 and 7.6 <= y <= 8.6:
        return SHINE
    return LABEL


def shaded(part, y):
    """The 256-colour images: the label warms from top to bottom."""
    t = min(1.0, max(0.0, (y - 5.5) / 21.0))
    if part == LABEL:
        return (255, round(222 - 70 * t), round(104 - 74 * t))
    if part == EDGE:
        return (round(120 - 20 * t), round(64 - 16 * t), 8)
    if part == NOTE:
        return (24, 32, 88)
    return (255, 250, 214)


# The 16-pixel image: "." outside, "o" edge, "y" label, "n" note, "w" shine.
GRID_16 = [
    "................",
    "................",
    "....oooooooooooo",
    "...oywwwwwwwwwyo",
    "..oyyyyynnnnnnyo",
    ".oyyyyyynnnnnnyo",
    "oyyoyyyynyyyynyo",
    "oyo.oyyynyyyynyo",
    "oyo.oyyynyyyynyo",
    "oyyoyyyynyyynnyo",
    ".oyyyynnnyynnnyo",
    "..oyynnnnyynnyyo",
    "...oyynnyyyyyyyo",
    "....oooooooooooo",
    "................",
    "................",
]
GRID_PARTS = {".": OUTSIDE, "o": EDGE, "y": LABEL, "n": NOTE, "w": SHINE}


def render(size):
    """Per pixel: None outside the picture, else the part it shows and its
    shaded colour."""
    if size == 16:
        return [[None if GRID_PARTS[c] == OUTSIDE else (GRID_PARTS[c], shaded(GRID_PARTS[c], 2 * row + 1))
                 for c in line] for row, line in enumerate(GRID_16)]
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            counts = [0] * 5
            sums = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = col + (sx + 0.5) / SAMPLES
                    y = row + (sy + 0.5) / SAMPLES
                    part = part_at(x, y)
                    counts[part] += 1
                    if part != OUTSIDE:
                        sums = [a + b for a, b in zip(sums, shaded(part, y))]
            painted = SAMPLES * SAMPLES - counts[OUTSIDE]
            if painted * 2 < SAMPLES * SAMPLES:
                line.append(None)
                continue
            # The part most samples show; its colour blends with its neighbours'.
            major = max(range(1, 5), key=lambda p: counts[p])
            line.append((major, tuple(round(s / painted) for s in sums)))
        pixels.append(line)
    return pixels


def palette_of(colours):
    """At most 256 colours, black first (the transparent pixels' index):
    the colours themselves, rounded as coarsely as it takes to fit."""
    for step in (1, 4, 8, 16, 32):
        rounded = lambda c: tuple(min(255, round(v / step) * step) for v in c)
        table = [(0, 0, 0)] + sorted({rounded(c) for c in colours} - {(0, 0, 0)})
        if len(table) <= 256:
            return table, rounded
    raise ValueError("too many colours")


def bitmap(size, bits):
    pixels = render(size)
    if bits == 4:
        table = VGA
        index = [[None if p is None else VGA.index(FLAT[p[0]]) for p in line] for line in pixels]
    else:
        table, rounded = palette_of([p[1] for line in pixels for p in line if p is not None])
        index = [[None if p is None else table.index(rounded(p[1])) for p in line] for line in pixels]
    table = table + [(0, 0, 0)] * ((1 << bits) - len(table))

    def rows(bytes_of):
        # Bottom row first, each row padded to four bytes.
        out = b""
        for line in reversed(index):
            data = bytes_of(line)
            out += data + b"\0" * (-len(data) % 4)
        return out

    def packed(values, per_byte, width):
        data = bytearray()
        for at in range(0, len(values), per_byte):
            byte = 0
            for v in values[at:at + per_byte]:
                byte = (byte << width) | v
            data.append(byte << (width * (per_byte - len(values[at:at + per_byte]))))
        return bytes(data)

    colour = rows(lambda line: packed([0 if i is None else i for i in line], 8 // bits, bits))
    mask = rows(lambda line: packed([1 if i is None else 0 for i in line], 8, 1))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(colour) + len(mask), 0, 0,
                         1 << bits, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in table)
    return header + palette + colour + mask


def icon_file(formats):
    images = [(size, bits, bitmap(size, bits)) for size, bits in formats]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


FORMATS = [(32, 8), (16, 8), (32, 4), (16, 4)]

if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: program_icon.py OUT.ico")
    with open(sys.argv[1], "wb") as f:
        f.write(icon_file(FORMATS))
