#!/usr/bin/env python3
"""Share of white and of near-black pixels in frames saved by beat-shots.sh.

    bench/pixel-shares.py DIR [FIRST LAST]
        one line per frame DIR/bNNN.png (beats FIRST to LAST when given):
        the beat, the share of white pixels (every channel >= 250) and the
        share of near-black ones (every channel < 10); then the frames with
        more than 5 % white outside the designed flashes, and the average
        near-black share of the frames listed.

The designed flashes are the opening's drop (beats 54-56) and the tunnel's
burn-out with the metaballs' entry zoom (116-122): white there is meant.
Plain Python: the PNG decoding below covers the 8-bit RGB and RGBA files
the show's --shot writes.
"""
import glob
import os
import re
import struct
import sys
import zlib

WHITE = 250
BLACK = 10
WHITE_LIMIT = 0.05
FLASHES = [(54, 56), (116, 122)]


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """Width, height, channels and the unfiltered pixel bytes of a PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        at += 12 + length
    if header is None:
        raise ValueError(f"{path}: no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace != 0:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA without interlace is read")
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    pixels = bytearray(stride * height)
    prior = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        row = bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(channels, stride):
                row[i] = (row[i] + row[i - channels]) & 255
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + prior[i]) & 255
        elif kind == 3:
            for i in range(stride):
                left = row[i - channels] if i >= channels else 0
                row[i] = (row[i] + ((left + prior[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                left = row[i - channels] if i >= channels else 0
                upper_left = prior[i - channels] if i >= channels else 0
                row[i] = (row[i] + paeth(left, prior[i], upper_left)) & 255
        elif kind != 0:
            raise ValueError(f"{path}: unknown row filter {kind}")
        pixels[y * stride:(y + 1) * stride] = row
        prior = row
    return width, height, channels, pixels


def shares(path):
    """(white share, near-black share) of one frame."""
    width, height, channels, pixels = read_png(path)
    reds, greens, blues = pixels[0::channels], pixels[1::channels], pixels[2::channels]
    white = black = 0
    for r, g, b in zip(reds, greens, blues):
        if r >= WHITE and g >= WHITE and b >= WHITE:
            white += 1
        elif r < BLACK and g < BLACK and b < BLACK:
            black += 1
    total = width * height
    return white / total, black / total


def beat_of(path):
    match = re.fullmatch(r"b(\d+(?:\.\d+)?)\.png", os.path.basename(path))
    return float(match.group(1)) if match else None


def main(argv):
    if len(argv) not in (2, 4):
        sys.exit(__doc__)
    frames = sorted((beat_of(p), p) for p in glob.glob(os.path.join(argv[1], "b*.png")) if beat_of(p) is not None)
    if len(argv) == 4:
        first, last = float(argv[2]), float(argv[3])
        frames = [(b, p) for b, p in frames if first <= b <= last]
    if not frames:
        sys.exit(f"pixel-shares: no bNNN.png frames in {argv[1]}")
    bright, blacks = [], []
    for beat, path in frames:
        white, black = shares(path)
        blacks.append(black)
        print(f"{beat:g}\twhite {white:.3f}\tblack {black:.3f}")
        if white > WHITE_LIMIT and not any(lo <= beat <= hi for lo, hi in FLASHES):
            bright.append(beat)
    print(f"frames over {WHITE_LIMIT:.0%} white outside the flashes: {len(bright)}"
          + (" (beats " + " ".join(f"{b:g}" for b in bright) + ")" if bright else ""))
    print(f"average near-black share: {sum(blacks) / len(blacks):.2f} over {len(blacks)} frames")


if __name__ == "__main__":
    main(sys.argv)
