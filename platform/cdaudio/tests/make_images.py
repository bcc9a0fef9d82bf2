#!/usr/bin/env python3
"""Disc images of generated tones for the CD component's tests.

tones.bin/tones.cue: track 1 (440 Hz left, 880 Hz right, 163 frames and a
10-frame INDEX 00 area of track 2), track 2 (660 Hz, 100 frames), track 3 a
MODE1/2352 data track (50 frames). faults.cue, open.cue and toc.cue read the
same file with REM FAULT lines (faults.cue: frame 30 fails twice, a read
over frame 100 comes short once, frame 150 fails three times). wavs/ holds two WAV files, the first ending
inside a frame.
"""
import math
import os
import struct
import sys

RATE = 44100
FRAME = 2352


def tone(frames, left_hz, right_hz, extra_bytes=0):
    pairs = frames * 588 + extra_bytes // 4
    out = bytearray()
    for i in range(pairs):
        l = int(12000 * math.sin(2 * math.pi * left_hz * i / RATE))
        r = int(12000 * math.sin(2 * math.pi * right_hz * i / RATE))
        out += struct.pack('<hh', l, r)
    return bytes(out)


def wav(data):
    return (b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVE' + b'fmt ' +
            struct.pack('<IHHIIHH', 16, 1, 2, RATE, RATE * 4, 4, 16) +
            b'data' + struct.pack('<I', len(data)) + data)


def long_image(out, seconds):
    """long.bin/long.cue: one audio track of `seconds` seconds (441 Hz left,
    882 Hz right: 100 samples make a whole period of both, so it repeats)."""
    os.makedirs(out, exist_ok=True)
    period = tone(0, 441, 882, extra_bytes=400)
    frames = seconds * 75
    with open(os.path.join(out, 'long.bin'), 'wb') as f:
        f.write(period * (frames * 588 // 100))
    with open(os.path.join(out, 'long.cue'), 'w', newline='') as f:
        f.write('FILE "long.bin" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n')


def main(out):
    os.makedirs(os.path.join(out, 'wavs'), exist_ok=True)
    data_track = bytes((i * 7 + 3) & 0xFF for i in range(50 * FRAME))
    with open(os.path.join(out, 'tones.bin'), 'wb') as f:
        f.write(tone(173, 440, 880) + tone(100, 660, 660) + data_track)
    body = ('FILE "tones.bin" BINARY\r\n'
            '  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n'
            '  TRACK 02 AUDIO\r\n    INDEX 00 00:02:13\r\n    INDEX 01 00:02:23\r\n'
            '  TRACK 03 MODE1/2352\r\n    INDEX 01 00:03:48\r\n')
    sheets = {'tones.cue': '', 'faults.cue': 'REM FAULT READ 30 2\r\nREM FAULT SHORT 100\r\nREM FAULT READ 150 3\r\n',
              'open.cue': 'REM FAULT OPEN\r\n', 'toc.cue': 'REM FAULT TOC\r\n'}
    for name, faults in sheets.items():
        with open(os.path.join(out, name), 'w', newline='') as f:
            f.write('REM made for the tests\r\n' + faults + body)
    with open(os.path.join(out, 'wavs', '01 first.wav'), 'wb') as f:
        f.write(wav(tone(80, 1000, 500, 300)))
    with open(os.path.join(out, 'wavs', '02 second.wav'), 'wb') as f:
        f.write(wav(tone(52, 2000, 250)))


if __name__ == '__main__':
    if len(sys.argv) > 3 and sys.argv[2] == '--long':
        long_image(sys.argv[1], int(sys.argv[3]))
    else:
        main(sys.argv[1])
