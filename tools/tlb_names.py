#!/usr/bin/env python3
"""Gives members of a widl-built type library names that IDL cannot spell.

IDL identifiers cannot hold blanks, but the tag libraries' enumerations
publish members such as "Release Year". widl builds the library with an
underscore in place of each blank; this rewrites those names in the type
library's name table (same length), recomputes each name's hash and moves the
entry to its new hash bucket, so that ITypeLib::IsName/FindName and every
type browser see the blank-spelled name.

With --enum-help, every enumeration member also gets its (published) name as
its help string, which widl does not let an enumeration member carry: the
member's record grows by its help fields and the string joins the string
table, every file offset behind them moving along.

usage: tlb_names.py [--enum-help] IN.tlb OUT.tlb [NAME...]   (NAME with underscores)
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


_TKIND_ENUM = 0
_SEG_TYPEINFO, _SEG_NAME_HASH, _SEG_NAMES, _SEG_STRINGS = 0, 6, 7, 8
_SEGMENTS = 15
_VAR_HELP_RECORD = 0x1C  # up to the help context and the help string offset


class _Layout:
    """The absolute file offsets of a type library: those of its segments
    and of each type's member records; everything else is relative to a
    segment."""

    def __init__(self, data: bytearray):
        self.data = data
        if data[0:4] != b'MSFT':
            raise ValueError('not an MSFT type library')
        ntypes = self.i32(32)
        offsets_at = 0x54 + (4 if self.i32(20) & 0x100 else 0)
        self.seg_dir = offsets_at + 4 * ntypes
        self.types = [self.segment(_SEG_TYPEINFO)[0] + self.i32(offsets_at + 4 * t) for t in range(ntypes)]

    def i32(self, off):
        return struct.unpack_from('<i', self.data, off)[0]

    def put(self, off, value):
        struct.pack_into('<i', self.data, off, value)

    def segment(self, k):
        return self.i32(self.seg_dir + 16 * k), self.i32(self.seg_dir + 16 * k + 4)

    def splice(self, pos, old_length, new):
        """Replaces old_length bytes at pos by `new`; offsets at or behind
        the end of the replaced bytes move with them."""
        delta = len(new) - old_length
        self.data[pos:pos + old_length] = new
        refs = [self.seg_dir + 16 * k for k in range(_SEGMENTS)] + [t + 4 for t in self.types]
        for ref in refs:
            off = self.i32(ref)
            if off != -1 and off >= pos + old_length:
                self.put(ref, off + delta)


def patch(data: bytearray, old: str, new: str) -> None:
    assert len(old) == len(new)
    tlb = _Layout(data)
    i32 = tlb.i32
    hash_off, hash_len = tlb.segment(_SEG_NAME_HASH)
    name_off, name_len = tlb.segment(_SEG_NAMES)
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


def _encoded_string(text: str) -> bytes:
    # As widl stores it: a 16-bit length, the characters, 0x57 up to a
    # 4-byte boundary, and at least 8 bytes.
    raw = struct.pack('<H', len(text)) + text.encode('ascii')
    size = (len(text) + 5) & ~3
    if len(text) < 3:
        size += 4
    return raw + b'\x57' * (size - len(raw))


def give_enum_help(data: bytearray) -> None:
    tlb = _Layout(data)
    names_at = tlb.segment(_SEG_NAMES)[0]
    for t in tlb.types:
        if tlb.i32(t) & 0xF != _TKIND_ENUM:
            continue
        elements = tlb.i32(t + 0x18)
        count = elements >> 16
        if count == 0:
            continue
        if elements & 0xFFFF:
            raise ValueError('an enumeration with functions')
        block = tlb.i32(t + 4)
        length = tlb.i32(block)
        tables = block + 4 + length  # member ids, name offsets, record offsets
        names = []
        for i in range(count):
            entry = names_at + tlb.i32(tables + 4 * (count + i))
            names.append(bytes(data[entry + 12:entry + 12 + data[entry + 8]]).decode('ascii'))

        strings_at, strings_length = tlb.segment(_SEG_STRINGS)
        if strings_at == -1:
            raise ValueError('a type library without a string table')
        help_offsets, added = [], b''
        for name in names:
            help_offsets.append(strings_length + len(added))
            added += _encoded_string(name)
        tlb.splice(strings_at + strings_length, 0, added)
        tlb.put(tlb.seg_dir + 16 * _SEG_STRINGS + 4, strings_length + len(added))

        block = tlb.i32(t + 4)  # moved with the string table
        tables = block + 4 + length
        records, at, offsets = b'', block + 4, []
        for help_offset in help_offsets:
            size = struct.unpack_from('<H', data, at)[0]
            # Help context 0 where the record had none.
            record = bytearray(data[at:at + size]) + bytes(max(0, _VAR_HELP_RECORD - size))
            struct.pack_into('<H', record, 0, len(record))
            struct.pack_into('<i', record, 0x18, help_offset)
            offsets.append(len(records))
            records += record
            at += size
        ids_and_names = bytes(data[tables:tables + 8 * count])
        new_block = (struct.pack('<i', len(records)) + records + ids_and_names +
                     b''.join(struct.pack('<i', o) for o in offsets))
        tlb.splice(block, 4 + length + 12 * count, new_block)


def main(argv):
    args = argv[1:]
    enum_help = '--enum-help' in args
    args = [a for a in args if a != '--enum-help']
    if len(args) < 2:
        sys.stderr.write(__doc__)
        return 2
    data = bytearray(open(args[0], 'rb').read())
    for old in args[2:]:
        patch(data, old, old.replace('_', ' '))
    if enum_help:
        give_enum_help(data)
    open(args[1], 'wb').write(bytes(data))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
