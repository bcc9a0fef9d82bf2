#!/usr/bin/env python3
"""Fails unless a program's first icon group holds each image asked for.

    check_icon.py BINARY SIZExBITS...        for example 16x4 32x8

Reads the resources of the PE file itself: the first icon group (the one
the shell shows for the file) must list each size and colour depth; each
entry must lead to an icon image whose bitmap header says the same size and
depth and whose bytes are as many as the entry says; and each image must
show a picture, with opaque pixels and clear ones.
"""
import struct
import sys

from pe_image import PeImage

RT_ICON, RT_GROUP_ICON = 3, 14


def check(path, wanted):
    resources = PeImage(path).resources()
    groups = resources.get(RT_GROUP_ICON, [])
    if not groups:
        return [f"{path} holds no icon group"]
    name, group = groups[0]
    images = dict(resources.get(RT_ICON, []))
    faults, found = [], set()
    _, kind, count = struct.unpack_from("<HHH", group)
    for i in range(count if kind == 1 else 0):
        width, height, _, _, _, bits, size, number = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        width, height = width or 256, height or 256
        where = f"icon group {name}, image {number} ({width}x{height}, {bits} bits)"
        image = images.get(number)
        if image is None:
            faults.append(f"{where}: no such icon")
            continue
        header, w, h, _, b, _, _, _, _, used = struct.unpack_from("<IiiHHIIiiI", image)
        if (w, h, b) != (width, 2 * height, bits) or len(image) != size:
            faults.append(f"{where}: the bitmap says {w}x{h // 2}, {b} bits, {len(image)} bytes for {size}")
            continue
        colours = used or (1 << bits if bits <= 8 else 0)
        stride = (width + 31) // 32 * 4
        mask = image[len(image) - stride * height:]
        clear = sum(bin(mask[r * stride + c // 8] >> (7 - c % 8) & 1).count("1")
                    for r in range(height) for c in range(width))
        if not 0 < clear < width * height or header + 4 * colours + (width * bits + 31) // 32 * 4 * height \
                + stride * height != size:
            faults.append(f"{where}: no picture ({clear} of {width * height} pixels clear)")
            continue
        found.add((width, bits))
    for size, bits in sorted(wanted - found):
        faults.append(f"icon group {name} has no {size}x{size} image of {bits} bits")
    return faults


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    wanted = {tuple(int(n) for n in spec.split("x")) for spec in argv[2:]}
    faults = check(argv[1], wanted)
    for fault in faults:
        print(fault)
    print(f"{argv[1]}: {'fail' if faults else 'ok'}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
