#!/usr/bin/env python3
"""Gives members of a widl-built type library names that IDL cannot spell.

IDL identifiers cannot hold blanks, but the tag libraries' enumerations
publish members such as "Release Year". widl builds the library with an
underscore in place of each blank; this rewrites those names in the type
library's name table (same length), recomputes each name's hash and moves the
entry to its new hash bucket, so that ITypeLib::IsName/FindName and every
type browser see the blank-spelled name.

usage: tlb_names.py IN.tlb OUT.tlb NAME [NAME...]   (NAME with underscores)
"""
import struct
import sys

# Per-character weights of the system's name hash (LHashValOfNameSys, Win32,
# neutral locale) for printable ASCII 32..126: letters fold to upper case.
_WEIGHTS = [32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 0, 48, 49, 50,
            51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69,
            70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 86, 88,
            85, 90, 91, 92, 93, 94, 95, 96, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75,
            76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 86, 88, 85, 90, 123, 124, 125,
            126]


def name_hash(name: str) -> int:
    lo = 0x0DEADBEE
    for ch in name.encode('ascii'):
        if not 32 <= ch <= 126:
            raise ValueError('only printable ASCII names are supported: %r' % name)
        lo = (37 * lo + _WEIGHTS[ch - 32]) & 0xFFFFFFFF
    return (lo % 65599) & 0xFFFF


def patch(data: bytearray, old: str, new: str) -> None:
    assert len(old) == len(new)
    i32 = lambda off: struct.unpack_from('<i', data, off)[0]
    if data[0:4] != b'MSFT':
        raise ValueError('not an MSFT type library')
    varflags, ntypes = i32(20), i32(32)
    seg_dir = 0x54 + (4 if varflags & 0x100 else 0) + 4 * ntypes
    seg = lambda k: (i32(seg_dir + 16 * k), i32(seg_dir + 16 * k + 4))
    hash_off, hash_len = seg(6)
    name_off, name_len = seg(7)
    buckets = hash_len // 4
    mask = 0x7F if buckets >= 0x80 else buckets - 1

    # Find the entry: 12-byte intro (hreftype, next_hash, len/hash) then chars.
    pos, entry = 0, None
    while pos < name_len:
        length = data[name_off + pos + 8]
        text = bytes(data[name_off + pos + 12:name_off + pos + 12 + length])
        if text == old.encode():
            entry = pos
            break
        pos += 12 + ((length + 3) & ~3)
    if entry is None:
        raise ValueError('name not in the type library: ' + old)

    at = name_off + entry
    old_bucket = data[at + 10] & mask
    # Unlink from the old bucket's chain.
    head_at = hash_off + 4 * old_bucket
    if i32(head_at) == entry:
        struct.pack_into('<i', data, head_at, i32(at + 4))
    else:
        cur = i32(head_at)
        while cur != -1:
            nxt = i32(name_off + cur + 4)
            if nxt == entry:
                struct.pack_into('<i', data, name_off + cur + 4, i32(at + 4))
                break
            cur = nxt
    h = name_hash(new)
    data[at + 10] = h & 0xFF
    data[at + 11] = h >> 8
    data[at + 12:at + 12 + len(new)] = new.encode()
    new_bucket = h & 0xFF & mask
    struct.pack_into('<i', data, at + 4, i32(hash_off + 4 * new_bucket))
    struct.pack_into('<i', data, hash_off + 4 * new_bucket, entry)


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    data = bytearray(open(argv[1], 'rb').read())
    for old in argv[3:]:
        patch(data, old, old.replace('_', ' '))
    open(argv[2], 'wb').write(bytes(data))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
