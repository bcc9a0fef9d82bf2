#!/usr/bin/env python3
"""Reads the files cdrip_ripper_form_tests ripped, from outside, with
mutagen: where they lie (the folder and file-name options) and their tags
(none without an album; both versions with the disc data, the track number
as the tag library stores it)."""
import os
import sys

from mutagen.id3 import ID3, ID3NoHeaderError

out = sys.argv[1]
failures = []


def v1(path):
    with open(path, 'rb') as f:
        f.seek(-128, os.SEEK_END)
        block = f.read(128)
    if block[:3] != b'TAG':
        return None
    text = lambda a, b: block[a:b].split(b'\0')[0].decode('cp1252').strip()
    return {'title': text(3, 33), 'artist': text(33, 63), 'album': text(63, 93), 'year': text(93, 97),
            'track': str(block[126]) if block[125] == 0 else ''}


def v2(path):
    try:
        tag = ID3(path, translate=False)
    except ID3NoHeaderError:
        return None
    return {k: str(tag[k]) for k in ('TIT2', 'TPE1', 'TALB', 'TRCK', 'TCON', 'TYER') if k in tag}


def expect(what, got, want):
    if got != want:
        failures.append(f'{what}: {got!r}, not {want!r}')


for name in ('01.mp3', '02.mp3'):
    path = os.path.join(out, name)
    expect(name + ' exists', os.path.exists(path), True)
    if os.path.exists(path):
        expect(name + ' ID3v1', v1(path), None)
        expect(name + ' ID3v2', v2(path), None)
expect('the data track', os.path.exists(os.path.join(out, '03.mp3')), False)

album = os.path.join(out, 'ACDC', 'Live 1992')
expect('only the finished files', sorted(os.listdir(album)) if os.path.isdir(album) else None,
       ['1 - Con.mp3', '2 - UpDown.mp3'])
for n, (name, title) in enumerate((('1 - Con.mp3', 'Con'), ('2 - UpDown.mp3', 'Up/Down?')), 1):
    path = os.path.join(album, name)
    if not os.path.exists(path):
        continue
    expect(name + ' ID3v2', v2(path), {'TIT2': title, 'TPE1': 'AC/DC', 'TALB': 'Live: 1992', 'TRCK': str(n),
                                       'TCON': 'Rock', 'TYER': '1992'})
    expect(name + ' ID3v1', v1(path), {'title': title, 'artist': 'AC/DC', 'album': 'Live: 1992', 'year': '1992',
                                       'track': str(n)})

for f in failures:
    print(f)
print('ripped files: ' + ('fail' if failures else 'ok'))
sys.exit(1 if failures else 0)
