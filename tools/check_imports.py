#!/usr/bin/env python3
"""Fails when a shipped binary imports a call that the allow-list lacks.

    check_imports.py ALLOW_LIST BINARY...

Reads the import table of each PE file itself (no binutils needed) and
compares every DLL!function with the list. The list says, for each call, the
oldest Windows 9x and NT versions that have it; an entry newer than the
floor (Windows 95 and NT 4.0) is itself an error, because one import the
system lacks stops the whole binary from loading.
"""
import struct
import sys

from pe_image import IMPORTS, PeImage

# Oldest versions the program runs on, and everything up to XP, for messages.
FLOOR_9X = {"95", "95s"}          # 95s: exported by Windows 9x as a stub that fails
FLOOR_NT = {"3.1", "3.5", "3.51", "4.0"}
KNOWN = FLOOR_9X | FLOOR_NT | {"98", "ME", "2000", "XP"}


def read_imports(path):
    """The (DLL, function) pairs a 32-bit PE file imports; ordinals as '#n'."""
    image = PeImage(path)
    data = image.data
    import_rva = image.directory(IMPORTS)[0]
    found = []
    if import_rva == 0:
        return found
    d = image.offset(import_rva)
    while True:
        lookup, _, _, name_rva, thunk = struct.unpack_from("<IIIII", data, d)
        if name_rva == 0:
            break
        dll = image.cstr(name_rva).upper()
        t = image.offset(lookup or thunk)
        while True:
            entry = struct.unpack_from("<I", data, t)[0]
            if entry == 0:
                break
            found.append((dll, f"#{entry & 0xFFFF}" if entry & 0x80000000 else image.cstr(entry + 2)))
            t += 4
        d += 20
    return found


def read_allow_list(path):
    """{(DLL, function): (9x, NT)} and the list's own errors."""
    allowed, errors = {}, []
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        fields = line.split("#", 1)[0].split()
        if not fields:
            continue
        where = f"{path}:{number}"
        if len(fields) != 4:
            errors.append(f"{where}: want 'DLL function 9x NT', got {line.strip()!r}")
            continue
        dll, function, v9x, vnt = fields
        if v9x not in KNOWN or vnt not in KNOWN:
            errors.append(f"{where}: unknown Windows version in {line.strip()!r}")
        elif v9x not in FLOOR_9X or vnt not in FLOOR_NT:
            errors.append(f"{where}: {function} needs Windows {v9x} / NT {vnt}, newer than "
                          "95 / NT 4.0; load it with GetProcAddress and a fallback")
        allowed[(dll.upper(), function)] = (v9x, vnt)
    return allowed, errors


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    allowed, errors = read_allow_list(argv[1])
    checked = 0
    for binary in argv[2:]:
        name = binary.replace("\\", "/").rsplit("/", 1)[-1]
        try:
            imports = read_imports(binary)
        except (OSError, ValueError) as e:
            errors.append(str(e))
            continue
        checked += 1
        for dll, function in sorted(set(imports)):
            if (dll, function) not in allowed:
                errors.append(f"{name} imports {dll}!{function}, which the allow-list lacks")
    for e in errors:
        print(e)
    print(f"{checked} binaries checked against {len(allowed)} allowed calls: "
          f"{'fail' if errors else 'ok'}")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
