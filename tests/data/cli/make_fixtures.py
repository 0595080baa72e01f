#!/usr/bin/env python3
"""Writes the routine files the hoofer tests read. Run it from anywhere; the
files land beside it. The bytes are laid out here by hand, independently of
the program's own codec, so that the tests compare the program with the file
format rather than with itself."""
from pathlib import Path

HERE = Path(__file__).parent
STAND = bytes([64, 96, 48, 84, 40, 64, 80, 84, 88, 64, 64, 56,
               52, 40, 48, 12, 40, 8, 76, 40, 80, 12, 88, 8])


def frame(points, interpolation, displacement):
    return bytes(points) + bytes([interpolation, displacement & 0xFF])


def move(name12, frames, end=0x0D):
    assert len(name12) == 12
    return bytes(name12) + bytes([end, len(frames)]) + b"".join(frames)


def routine(moves, first=100):
    return bytes([first, len(moves) - 1]) + b"".join(moves)


def write(name, data):
    (HERE / name).write_bytes(data)


newmove = routine([move(b"NewMove     ", [frame(STAND, 3, -2)])])
write("trailing.raw", newmove + b"\x00\xffZ")
write("truncated.raw", newmove[:-5])
write("header_only.raw", newmove[:9])
write("empty.raw", b"")
write("odd_marks.raw", routine([move(b"NewMove     ", [frame(STAND, 3, -2)], end=0x00),
                                move(b"Second      ", [frame(STAND, 1, 0)])], first=0x65))
write("no_frames.raw", routine([move(b"Empty       ", []), move(b"NewMove     ", [frame(STAND, 3, -2)])]))

# Every byte value 0..255 in the names (12 a name, the last one wrapping
# round), and the extremes of every field: points 0 and 255, interpolation 0
# and 255, displacement -128 and 127, a move of 255 key frames.
all_bytes = bytes(range(256)) + bytes(range(256))
moves = []
for m in range(22):
    name = all_bytes[12 * m:12 * m + 12]
    low = [0] * 24
    high = [255] * 24
    mixed = [(37 * (m + i)) & 0xFF for i in range(24)]
    moves.append(move(name, [frame(low, 0, -128), frame(high, 255, 127), frame(mixed, m, m - 11)]))
moves.append(move(b"Long        ", [frame([(i * 7 + k) & 0xFF for i in range(24)], k % 3, (k % 5) - 2)
                                    for k in range(255)]))
write("all_bytes.raw", routine(moves))
