#!/usr/bin/python3
"""The other side of the interoperability tests: an independent ID3 reader
and writer (mutagen) driven from the C++ tests through a pipe.

Text crossing the pipe is hex, so any byte survives the shell. Text given to
`write` is the hex of Windows-1252 bytes, or, with a "u" in front, the hex of
UTF-8 (for characters Windows-1252 lacks). Text that `dump` prints is the hex
of Windows-1252 bytes, '?' for characters it lacks, the way the tag cores
hand text out.

  mutagen_peer.py check
      Prints "mutagen VERSION"; fails when mutagen cannot be imported.

  mutagen_peer.py dump PATH
      Prints what mutagen reads, one record a line, fields split by tabs:
        v2 <TAB> none | 3 | 4
        frame <TAB> HashKey <TAB> text hex <TAB> ascii(frame)   (file order)
        layout <TAB> ok | what is wrong        (the frames walked strictly)
        raw <TAB> ID <TAB> flags hex <TAB> sha1 of the body     (file order)
        v1 <TAB> none | present
        v1field <TAB> title|artist|album|year|comment|track|genre <TAB> hex
      mutagen forgives some layout faults (sizes in the wrong form); the
      strict walk does not, so a tag other readers might trip on shows.

  mutagen_peer.py write PATH [options] FRAME...
      Replaces the ID3v2 tag of PATH with the frames given, keeping the rest.
      Options: --version=3|4 (3), --encoding=0|1|3 (1), --padding=N (512),
      --v1 (also write an ID3v1 tag; else any is removed),
      --flags=ID:HEX (set the header flags of the first frame ID),
      --extended-header=plain|crc (2.3 only: put a 10-byte extended header,
      or a 14-byte one with a CRC of the frames, before the frames),
      --compress=ID (store the first frame ID as zlib data: 2.3 behind its
      4-byte size, 2.4 behind its data-length indicator; mutagen writes no
      compressed frames itself, though it reads them).
      FRAME is one of
        Txxx=TEXT                 a text frame (TIT2, TYER, TRCK, ...)
        COMM=LANG:DESC:TEXT       LANG plain ASCII
        TXXX=DESC:TEXT
        WXXX=DESC:URL
        APIC=MIME:DESC:DATA       MIME plain ASCII, DATA hex of raw bytes
"""

import hashlib
import struct
import sys
import zlib

try:
    import mutagen
    from mutagen import id3
except ImportError as e:  # the tests skip on this
    print("mutagen missing: %s" % e, file=sys.stderr)
    sys.exit(3)


def arg_text(value):
    if value.startswith("u"):
        return bytes.fromhex(value[1:]).decode("utf-8")
    return bytes.fromhex(value).decode("cp1252")


def out_text(text):
    return text.encode("cp1252", "replace").hex()


def frame_text(frame):
    if isinstance(frame, id3.WXXX):
        return frame.url
    if isinstance(frame, id3.APIC):
        return frame.desc
    if hasattr(frame, "text"):
        return "\0".join(str(t) for t in frame.text)
    return ""


def syncsafe(b):
    value = 0
    for byte in b:
        value = (value << 7) | byte
    return value


def walk(data):
    """The frames of the tag at the start of `data` as its header's version
    lays them out: (error or None, [(offset, id, flags, body)])."""
    frames = []
    version, flags = data[3], data[5]
    if any(b & 0x80 for b in data[6:10]):
        return "tag size not syncsafe", frames
    size = syncsafe(data[6:10])
    area = data[10:10 + size]
    if len(area) < size:
        return "tag runs past the end of the file", frames
    if flags & 0x80:
        return "unsynchronised tag", frames
    pos = 0
    if flags & 0x40:
        pos = 4 + struct.unpack(">I", area[:4])[0] if version == 3 else syncsafe(area[:4])
    while pos < len(area) and area[pos] != 0:
        if len(area) - pos < 10:
            return "frame header cut short at %d" % pos, frames
        fid = area[pos:pos + 4]
        if not all(c in b"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789" for c in fid):
            return "bad frame ID %r at %d" % (fid, pos), frames
        if version == 4:
            if any(b & 0x80 for b in area[pos + 4:pos + 8]):
                return "%s size not syncsafe" % fid.decode(), frames
            n = syncsafe(area[pos + 4:pos + 8])
        else:
            n = struct.unpack(">I", area[pos + 4:pos + 8])[0]
        if n > len(area) - pos - 10:
            return "%s runs past the tag" % fid.decode(), frames
        frames.append((10 + pos, fid.decode(), struct.unpack(">H", area[pos + 8:pos + 10])[0],
                       area[pos + 10:pos + 10 + n]))
        pos += 10 + n
    if any(area[pos:]):
        return "padding not zero", frames
    return None, frames


def dump(path):
    try:
        tags = id3.ID3(path, translate=False, load_v1=False)
    except id3.ID3NoHeaderError:
        tags = None
    if tags is None:
        print("v2\tnone")
    else:
        print("v2\t%d" % tags.version[1])
        for frame in tags.values():
            print("frame\t%s\t%s\t%s" % (ascii(frame.HashKey)[1:-1], out_text(frame_text(frame)),
                                         ascii(frame)))

    with open(path, "rb") as f:
        data = f.read()
    if tags is not None:
        error, frames = walk(data)
        print("layout\t%s" % (error or "ok"))
        for _, fid, flags, body in frames:
            print("raw\t%s\t%04x\t%s" % (fid, flags, hashlib.sha1(body).hexdigest()))
    v1 = id3.ParseID3v1(data[-128:], v2_version=3) if len(data) >= 128 else None
    if v1 is None:
        print("v1\tnone")
        return
    print("v1\tpresent")
    names = {"TIT2": "title", "TPE1": "artist", "TALB": "album", "TYER": "year",
             "COMM": "comment", "TRCK": "track"}
    for key, frame in v1.items():
        if key in names:
            # ID3v1 declares no encoding: its bytes are the code page's as they stand.
            print("v1field\t%s\t%s" % (names[key], frame.text[0].encode("latin1").hex()))
        elif key == "TCON":
            print("v1field\tgenre\t%s" % out_text(frame.genres[0] if frame.genres else ""))


def make_frame(arg, encoding):
    fid, _, value = arg.partition("=")
    if fid == "COMM":
        lang, desc, text = value.split(":")
        return id3.COMM(encoding=encoding, lang=lang, desc=arg_text(desc), text=[arg_text(text)])
    if fid == "TXXX":
        desc, text = value.split(":")
        return id3.TXXX(encoding=encoding, desc=arg_text(desc), text=[arg_text(text)])
    if fid == "WXXX":
        desc, url = value.split(":")
        return id3.WXXX(encoding=encoding, desc=arg_text(desc), url=arg_text(url))
    if fid == "APIC":
        mime, desc, data = value.split(":")
        return id3.APIC(encoding=encoding, mime=mime, type=id3.PictureType.COVER_FRONT,
                        desc=arg_text(desc), data=bytes.fromhex(data))
    cls = id3.Frames.get(fid)
    if cls is None or not fid.startswith("T"):
        raise SystemExit("unknown frame %r" % arg)
    return cls(encoding=encoding, text=[arg_text(value)])


def set_frame_flags(path, frame_flags):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    _, frames = walk(bytes(data))
    for fid, flags in frame_flags:
        offset = next(o for o, i, _, _ in frames if i == fid)
        data[offset + 8:offset + 10] = struct.pack(">H", flags)
    with open(path, "wb") as f:
        f.write(data)


def add_extended_header(path, with_crc):
    """Inserts a 2.3 extended header after the tag header, sets its flag and
    grows the tag size; the padding size it records is the tag's own."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:3] != b"ID3" or data[3] != 3:
        raise SystemExit("extended header needs a 2.3 tag")
    size = syncsafe(data[6:10])
    area = data[10:10 + size]
    _, frames = walk(data)
    end = frames[-1][0] + len(frames[-1][3]) if frames else 0  # within `area`
    padding = len(area) - end
    if with_crc:
        ext = struct.pack(">IHII", 10, 0x8000, padding, zlib.crc32(area[:end]) & 0xFFFFFFFF)
    else:
        ext = struct.pack(">IHI", 6, 0, padding)
    new_size = size + len(ext)
    size_bytes = bytes(((new_size >> s) & 0x7F) for s in (21, 14, 7, 0))
    header = data[:5] + bytes([data[5] | 0x40]) + size_bytes
    with open(path, "wb") as f:
        f.write(header + ext + area + data[10 + size:])


def compress_frames(path, ids):
    """Replaces the body of the first frame of each ID by its zlib form and
    lays the tag out again, in its old size when the frames still fit."""
    with open(path, "rb") as f:
        data = f.read()
    version = data[3]
    size = syncsafe(data[6:10])
    _, frames = walk(data)
    area = b""
    for fid in ids:
        if not any(i == fid for _, i, _, _ in frames):
            raise SystemExit("no frame %s to compress" % fid)
    done = set()
    for _, fid, flags, body in frames:
        if fid in ids and fid not in done:
            done.add(fid)
            if version == 4:
                size_field = bytes(((len(body) >> s) & 0x7F) for s in (21, 14, 7, 0))
                body, flags = size_field + zlib.compress(body), flags | 0x0009
            else:
                body, flags = struct.pack(">I", len(body)) + zlib.compress(body), flags | 0x0080
        n = bytes(((len(body) >> s) & 0x7F) for s in (21, 14, 7, 0)) if version == 4 else struct.pack(">I", len(body))
        area += fid.encode() + n + struct.pack(">H", flags) + body
    new_size = max(size, len(area))
    size_bytes = bytes(((new_size >> s) & 0x7F) for s in (21, 14, 7, 0))
    with open(path, "wb") as f:
        f.write(data[:6] + size_bytes + area + bytes(new_size - len(area)) + data[10 + size:])


def write(path, args):
    version, encoding, padding, v1, extended = 3, 1, 512, False, None
    frames, frame_flags, compressed = [], [], []
    for a in args:
        if a.startswith("--version="):
            version = int(a.split("=", 1)[1])
        elif a.startswith("--encoding="):
            encoding = int(a.split("=", 1)[1])
        elif a.startswith("--padding="):
            padding = int(a.split("=", 1)[1])
        elif a.startswith("--flags="):
            fid, value = a.split("=", 1)[1].split(":")
            frame_flags.append((fid, int(value, 16)))
        elif a.startswith("--compress="):
            compressed.append(a.split("=", 1)[1])
        elif a == "--v1":
            v1 = True
        elif a.startswith("--extended-header="):
            extended = a.split("=", 1)[1]
        else:
            frames.append(a)
    tags = id3.ID3()
    for arg in frames:
        tags.add(make_frame(arg, encoding))
    tags.save(path, v1=2 if v1 else 0, v2_version=version, padding=lambda info: padding)
    if compressed:
        compress_frames(path, compressed)
    if frame_flags:
        set_frame_flags(path, frame_flags)
    if extended:
        add_extended_header(path, extended == "crc")


def main(argv):
    if len(argv) >= 1 and argv[0] == "check":
        print("mutagen %s" % mutagen.version_string)
    elif len(argv) == 2 and argv[0] == "dump":
        dump(argv[1])
    elif len(argv) >= 2 and argv[0] == "write":
        write(argv[1], argv[2:])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
