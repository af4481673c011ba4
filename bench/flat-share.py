#!/usr/bin/env python3
"""Share of a frame covered by its largest region of one flat colour.

    bench/flat-share.py [--step N] FRAME.png...

prints, per frame, the share (0 to 1) of the largest 4-connected region
whose pixels all fall in the same colour cell, and that cell's lowest
colour, then the share of all pixels in the most common cell wherever they
lie (a wall cut into bands by things in front of it). Cells are N levels wide on each channel (default 32, eight levels a
channel), so a saturated red lightly tinted by a glow still counts as one
flat red; --step 1 asks for exactly equal colours. A wall of
saturated colour shows as a large share; a picture with depth and light
stays low. The frames are read through ImageMagick's convert as binary PPM,
so only the standard library is needed.
"""
import os
import subprocess
import sys


def read_ppm(path):
    convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
    data = subprocess.run([convert, path, "ppm:-"], check=True, capture_output=True).stdout
    # Header: P6, width, height, maxval, each after white space.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"{path}: not an 8-bit RGB picture")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def largest_flat_region(width, height, rgb, step):
    cells = bytes(v // step * step for v in rgb)
    colours = [cells[i:i + 3] for i in range(0, width * height * 3, 3)]
    seen = bytearray(width * height)
    best, best_colour = 0, b"\0\0\0"
    for start in range(width * height):
        if seen[start]:
            continue
        colour = colours[start]
        seen[start] = 1
        stack, size = [start], 0
        while stack:
            p = stack.pop()
            size += 1
            x = p % width
            for q in (p - width, p + width, p - 1 if x > 0 else -1, p + 1 if x < width - 1 else -1):
                if 0 <= q < width * height and not seen[q] and colours[q] == colour:
                    seen[q] = 1
                    stack.append(q)
        if size > best:
            best, best_colour = size, colour
    counts = {}
    for colour in colours:
        counts[colour] = counts.get(colour, 0) + 1
    common = max(counts, key=counts.get)
    return best / (width * height), best_colour, counts[common] / (width * height), common


def main():
    args, step = sys.argv[1:], 32
    if len(args) >= 2 and args[0] == "--step":
        step, args = max(1, int(args[1])), args[2:]
    for path in args:
        share, colour, total, common = largest_flat_region(*read_ppm(path), step)
        print(f"{os.path.basename(path)} {share:.3f} rgb({colour[0]},{colour[1]},{colour[2]})"
              f" {total:.3f} rgb({common[0]},{common[1]},{common[2]})")


if __name__ == "__main__":
    main()
