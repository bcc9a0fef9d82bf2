#!/usr/bin/env python3
"""Writes a PNG of a window of the X display in $DISPLAY.

    screenshot.py OUT.png [WINDOW_NAME]

The window is the first one whose name is WINDOW_NAME, else the whole
screen. xwd takes the picture; the XWD image (TrueColor, 24 or 32 bits a
pixel, as Xvfb gives it) is turned into PNG here, with the standard
library alone.
"""
import struct
import subprocess
import sys
import zlib


def xwd_to_rgb(data):
    """(width, height, rows of RGB bytes) of an XWD image."""
    header = struct.unpack_from(">25I", data, 0)
    (header_size, _version, pixmap_format, _depth, width, height, _xoff, byte_order,
     _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual, red_mask,
     green_mask, blue_mask, _bits_rgb, _map_entries, ncolors) = header[:20]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        raise ValueError(f"unsupported XWD image: format {pixmap_format}, {bits_per_pixel} bits")
    start = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    shifts = [(m, (m & -m).bit_length() - 1) for m in (red_mask, green_mask, blue_mask)]
    # Where each channel's byte sits in a pixel, when each is a whole byte.
    places = [s // 8 if order == "little" else step - 1 - s // 8 for _, s in shifts]
    whole_bytes = all(m >> s == 0xFF and s % 8 == 0 for m, s in shifts)
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        row = bytearray(3 * width)
        if whole_bytes:
            for channel, place in enumerate(places):
                row[channel::3] = line[place::step]
        else:
            for x in range(width):
                pixel = int.from_bytes(line[x * step:(x + 1) * step], order)
                row[3 * x:3 * x + 3] = bytes((pixel & m) >> s for m, s in shifts)
        rows.append(bytes(row))
    return width, height, rows


def png(width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def main(argv):
    if len(argv) not in (2, 3):
        print("usage: screenshot.py OUT.png [WINDOW_NAME]", file=sys.stderr)
        return 2
    target = ["-name", argv[2]] if len(argv) == 3 else ["-root"]
    shot = subprocess.run(["xwd", "-silent", "-nobdrs", *target], capture_output=True)
    if shot.returncode != 0 and len(argv) == 3:
        shot = subprocess.run(["xwd", "-silent", "-root"], capture_output=True)
    if shot.returncode != 0:
        print(shot.stderr.decode(errors="replace").strip(), file=sys.stderr)
        return 1
    with open(argv[1], "wb") as out:
        out.write(png(*xwd_to_rgb(shot.stdout)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
