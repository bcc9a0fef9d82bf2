"""A 32-bit PE file as the tree's checks read it themselves, with no
binutils: the sections, the file offset of an address and the data
directories (imports, resources)."""
import struct

IMPORTS, RESOURCES = 1, 2  # data directory indexes


class PeImage:
    def __init__(self, path):
        self.path = path
        self.data = data = open(path, "rb").read()
        if data[:2] != b"MZ":
            raise ValueError(f"{path}: not an executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE header")
        sections_count = struct.unpack_from("<H", data, pe + 6)[0]
        opt_size = struct.unpack_from("<H", data, pe + 20)[0]
        self._opt = opt = pe + 24
        if struct.unpack_from("<H", data, opt)[0] != 0x10B:
            raise ValueError(f"{path}: not a 32-bit image")
        self.sections = []
        for i in range(sections_count):
            s = opt + opt_size + 40 * i
            vsize, vaddr, rsize, raw = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((vaddr, max(vsize, rsize), raw))

    def directory(self, index):
        """(address, size) of a data directory; address 0 when there is none."""
        return struct.unpack_from("<II", self.data, self._opt + 96 + 8 * index)

    def offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raw
        raise ValueError(f"{self.path}: address {rva:#x} outside every section")

    def cstr(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("ascii")

    def resources(self):
        """{type: [(name, bytes)]} of the resource tree, each type's names in
        the file's order (named ones first, then numbers rising), the first
        language of each; a name is a number or a string."""
        base_rva = self.directory(RESOURCES)[0]
        if base_rva == 0:
            return {}
        base = self.offset(base_rva)
        data = self.data

        def entries(at):
            named, numbered = struct.unpack_from("<HH", data, base + at + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", data, base + at + 16 + 8 * i)
                if name & 0x80000000:
                    o = base + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", data, o)[0]
                    name = data[o + 2:o + 2 + 2 * length].decode("utf-16-le")
                yield name, target

        def leaf(target):
            while target & 0x80000000:  # a directory: its first entry
                target = next(entries(target & 0x7FFFFFFF))[1]
            rva, size = struct.unpack_from("<II", data, base + target)
            o = self.offset(rva)
            return data[o:o + size]

        return {kind: [(name, leaf(t)) for name, t in entries(target & 0x7FFFFFFF)]
                for kind, target in entries(0)}
