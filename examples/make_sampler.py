#!/usr/bin/env python3
"""Makes sampler.raw, the four-move example routine, from poses computed here.

The routine is written as the JSON form that `hoofer export` prints and turned
into the .raw file by `hoofer import`, so this script never writes the binary
format itself:

    examples/make_sampler.py build/release/src/cli/hoofer

The result is deterministic: running it again gives the same bytes.
"""
import json
import math
import subprocess
import sys
from pathlib import Path

# The standing figure, body parts 1..12: shoulders, left elbow, left hand,
# right elbow, right hand, hips, left knee, left ankle, left foot, right knee,
# right ankle, right foot. Y grows upward.
STAND = [(128, 150), (112, 138), (104, 118), (144, 138), (152, 118), (128, 110),
         (116, 94), (112, 66), (104, 62), (140, 94), (144, 66), (152, 62)]
SHOULDERS, HIPS = 0, 5


def clamp(v):
    return max(0, min(255, int(round(v))))


def frame(points, interpolation=4, displacement=0):
    return {"interpolation": interpolation, "displacement": displacement,
            "points": [{"x": clamp(x), "y": clamp(y)} for x, y in points]}


def moved(base, **parts):
    """base with some parts replaced: moved(STAND, p5=(160, 170))."""
    points = list(base)
    for key, value in parts.items():
        points[int(key[1:]) - 1] = value
    return points


def rotated(base, indexes, centre, degrees):
    """base with the given parts turned about centre (positive: anticlockwise)."""
    a = math.radians(degrees)
    cx, cy = base[centre]
    points = list(base)
    for i in indexes:
        x, y = base[i][0] - cx, base[i][1] - cy
        points[i] = (cx + x * math.cos(a) - y * math.sin(a), cy + x * math.sin(a) + y * math.cos(a))
    return points


def squeezed(base, factor):
    """base seen turned about its upright axis: x offsets from the hips scaled."""
    cx = base[HIPS][0]
    return [(cx + (x - cx) * factor, y) for x, y in base]


def wave():
    up = moved(STAND, p4=(150, 162), p5=(166, 186))
    return [frame(STAND, 2),
            frame(up, 5),
            frame(moved(up, p5=(150, 192)), 3),
            frame(up, 3),
            frame(moved(up, p5=(150, 192)), 3),
            frame(STAND, 5)]


def kick():
    crouch = [(x, y - 8) for x, y in STAND]
    crouch = moved(crouch, p7=(112, 80), p10=(144, 80))
    kicked = moved(STAND, p10=(160, 104), p11=(184, 112), p12=(192, 120),
                   p2=(104, 146), p3=(92, 160), p4=(152, 146), p5=(164, 160))
    return [frame(STAND, 1),
            frame(crouch, 3),
            frame(kicked, 2, 3),
            frame(crouch, 4),
            frame(STAND, 3)]


def spin():
    frames = [frame(STAND, 1)]
    for step in range(1, 9):
        factor = math.cos(math.radians(45 * step))
        frames.append(frame(squeezed(STAND, factor), 2, -2 if step <= 4 else 2))
    return frames


def bow():
    upper = [SHOULDERS, 1, 2, 3, 4]
    bent = rotated(STAND, upper, HIPS, -70)
    bent = moved(bent, p3=(bent[1][0] + 2, bent[1][1] - 20), p5=(bent[3][0] + 2, bent[3][1] - 20))
    return [frame(STAND, 0),
            frame(rotated(STAND, upper, HIPS, -35), 6),
            frame(bent, 6),
            frame(bent, 8),
            frame(STAND, 10)]


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_sampler.py PATH-TO-HOOFER")
    routine = {"format": "hoofer routine", "version": 1, "moves": [
        {"name": name.ljust(12), "frames": make()}
        for name, make in (("Wave", wave), ("Kick", kick), ("Spin", spin), ("Bow", bow))]}
    out = Path(__file__).with_name("sampler.raw")
    subprocess.run([sys.argv[1], "import", "-", "-o", str(out)],
                   input=json.dumps(routine).encode(), check=True)


if __name__ == "__main__":
    main()
