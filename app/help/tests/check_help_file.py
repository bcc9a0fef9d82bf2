#!/usr/bin/python3
"""Reads a compiled help file back with chmlib, a reader that shares nothing
with the compiler: the named windows (#WINDOWS), the contexts (#IVB through
#STRINGS), the entries of the contents and the index, and every link of every
page must lead to something in the file, and the search index must be there.
    check_help_file.py FILE.chm TITLE CONTEXT WINDOW...
Prints each fault and exits 1 when there is one."""
import html.parser, posixpath, struct, sys, urllib.parse
import chm.chmlib as chmlib


class Tags(html.parser.HTMLParser):
    def __init__(self, data):
        super().__init__()
        self.links, self.anchors, self.locals = [], set(), []
        self.feed((data or b"").decode("latin-1"))

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        self.links += [a[k] for k in ("href", "src") if a.get(k)]
        self.anchors |= {a[k] for k in ("id", "name") if a.get(k) and tag != "param"}
        if tag == "param" and (a.get("name") or "").lower() == "local":
            self.locals.append(a.get("value") or "")


def check(path, title, context, windows):
    h = chmlib.chm_open(path.encode())
    if not h:
        return [f"{path} is no compiled help file"]
    names = set()

    def each(_, unit, __):
        names.add(unit.path.decode("latin-1").lower())
        return chmlib.CHM_ENUMERATOR_CONTINUE

    chmlib.chm_enumerate(h, chmlib.CHM_ENUMERATE_ALL, each, None)
    has = lambda p: ("/" + p.lstrip("/")).lower() in names  # the viewer ignores case

    def read(p):
        found, unit = chmlib.chm_resolve_object(h, p.encode("latin-1"))
        return chmlib.chm_retrieve_object(h, unit, 0, unit.length)[1] if found == chmlib.CHM_RESOLVE_SUCCESS else None

    strings = read("/#STRINGS") or b""
    text = lambda blob, at: blob[at:blob.find(b"\0", at)].decode("latin-1")
    faults, defined = [], {}
    blob = read("/#WINDOWS") or b"\0" * 8
    count, size = struct.unpack_from("<II", blob)
    for entry in (blob[8 + i * size:8 + (i + 1) * size] for i in range(count)):
        field = lambda at: text(strings, struct.unpack_from("<I", entry, at)[0])
        defined[field(0x08)] = (field(0x14), field(0x60), field(0x68), field(0x6C))
    for name in windows:
        win_title, *pages = defined.get(name, (None,))
        if win_title is None:
            faults.append(f"window {name} is not defined (the file has {sorted(defined)})")
        faults += [f"window {name}: page {p!r} is not in the file" for p in pages if p and not has(p)]
    if defined.get("DEFAULT", ("",))[0] != title:
        faults.append(f"window DEFAULT is not titled {title!r}")
    ivb = read("/#IVB") or b""
    contexts = dict(struct.unpack_from("<II", ivb, at) for at in range(4, len(ivb) - 7, 8))
    faults += [f"context {n} leads to {text(strings, o)!r}, which is not in the file"
               for n, o in sorted(contexts.items()) if not has(text(strings, o))]
    if context not in contexts:
        faults.append(f"context {context} is not mapped")

    system, at, maps = read("/#SYSTEM") or b"", 4, {}
    while at + 4 <= len(system):
        code, length = struct.unpack_from("<HH", system, at)
        maps[code], at = text(system, at + 4), at + 4 + length
    pages = sorted(p for p in names if p.endswith((".htm", ".html")))
    listed = set()
    for kind, code in (("contents", 0), ("index", 1)):
        if not has(maps.get(code, "?")):
            faults.append(f"the {kind} file {maps.get(code)!r} is not in the file")
            continue
        for local in Tags(read("/" + maps[code])).locals:
            target = "/" + urllib.parse.unquote(local.split("#")[0]).lower()
            if not has(target):
                faults.append(f"the {kind} names {local!r}, which is not in the file")
            if code == 0:
                listed.add(target)
    faults += [f"page {p} is in no entry of the contents" for p in pages if p not in listed]
    parsed = {p: Tags(read(p)) for p in pages}
    for page in pages:
        for link in parsed[page].links:
            url = urllib.parse.urlsplit(link)
            if url.scheme or url.netloc:
                continue  # the web and mail lie outside the file
            target = posixpath.normpath(posixpath.join(posixpath.dirname(page), urllib.parse.unquote(url.path)))
            target = target.lower() if url.path else page
            if not has(target):
                faults.append(f"{page}: link {link!r} leads to {target}, which is not in the file")
            elif url.fragment and target in parsed and url.fragment not in parsed[target].anchors:
                faults.append(f"{page}: link {link!r}: no anchor {url.fragment!r} in {target}")
    return faults + ([] if has("$FIftiMain") else ["no full-text search index"])


if __name__ == "__main__":
    found = check(sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:])
    print("\n".join(found + [f"{sys.argv[1]}: {len(found)} fault(s)"]))
    sys.exit(1 if found else 0)
