#!/usr/bin/env python3
"""Checks the include rule of docs/architecture.md over the source tree.

Every "#include" written from the top of the tree ("libs/...", "platform/...",
"app/...") is checked against the layer of the file that writes it: a file may
include its own unit, the units of lower layers, and the units of its own
layer where that layer allows it. Prints each breach and exits 1 if any.
"""
import os
import re
import sys

# (unit prefix, layer, may include other units of the same layer)
# The longest matching prefix decides a file's unit.
UNITS = [
    ("libs/common", 0, False),
    ("libs/tags/interop", 2, False),  # tests across the two tag libraries
    ("libs", 1, False),               # each library: itself and libs/common
    ("platform", 3, True),
    ("app/controls", 4, True),
    ("app/foundation", 5, False),
    ("app/mainwindow", 6, False),
    ("app/tools", 7, False),
    ("app/cdrip", 7, False),
    ("app/startup", 8, False),
    ("bench", 9, False),
]

SOURCE = re.compile(r"\.(c|cc|cpp|h|hpp|idl|rc)$")
INCLUDE = re.compile(r'^\s*#\s*(?:include|import)\s+"([^"]+)"')
SKIP = {".git", "build", "docs", "tools", "cmake"}


def unit_of(path):
    """(unit directory, layer, siblings allowed) of a path from the top."""
    best = None
    for prefix, layer, siblings in UNITS:
        if path == prefix or path.startswith(prefix + "/"):
            if best is None or len(prefix) > len(best[0]):
                best = (prefix, layer, siblings)
    if best is None:
        return None
    prefix, layer, siblings = best
    # The unit is the prefix plus the next folder for the grouped layers
    # ("libs/tags/ID3v1", "platform/forms", "app/controls/progressbar").
    rest = path[len(prefix) + 1:].split("/")
    if prefix in ("libs", "platform", "app/controls") and len(rest) > 1:
        unit = prefix + "/" + rest[0]
        if prefix == "libs" and rest[0] == "tags" and len(rest) > 2:
            unit += "/" + rest[1]
        return unit, layer, siblings
    return prefix, layer, siblings


def allowed(source, header):
    src = unit_of(source)
    dst = unit_of(header)
    if src is None or dst is None:
        return True  # outside the layered tree
    if "/tests/" in source and dst[1] <= 5:
        # A test may host its unit on the forms and the program's controls,
        # and try the foundation's window helpers on it.
        return True
    if src[0] == dst[0] or dst[1] < src[1]:
        return True
    return dst[1] == src[1] and src[2]


def main(root):
    breaches = []
    for folder, dirs, files in os.walk(root):
        rel_folder = os.path.relpath(folder, root).replace(os.sep, "/")
        dirs[:] = [d for d in dirs if not (rel_folder == "." and d in SKIP)]
        for name in files:
            if not SOURCE.search(name):
                continue
            rel = os.path.normpath(os.path.join(rel_folder, name)).replace(os.sep, "/")
            with open(os.path.join(folder, name), encoding="latin-1") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if m and "/" in m.group(1) and not allowed(rel, m.group(1)):
                        breaches.append(f"{rel}:{number}: may not include {m.group(1)}")
    for breach in breaches:
        print(breach)
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
