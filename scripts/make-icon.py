#!/usr/bin/python3
"""Draws the programs' icon, shared/resources/malvet.ico: a glider over a key
cap, in 16, 24, 32, 48 and 256 pixels, each a 32-bit image with its
transparency (the largest one as PNG). Drawn here from simple shapes, four samples a pixel a side for
smooth edges; the file is made again the same, byte for byte."""

import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 256)
NAVY = (0x1f, 0x3a, 0x68)
SKY = (0x4f, 0x8f, 0xd8)
CAP = (0xf4, 0xf6, 0xfa)
EDGE = (0xc4, 0xcc, 0xda)
GLIDER = (0x1f, 0x3a, 0x68)


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_glider(x, y):
    """A glider seen from above, nose up: long thin wings, a slim body and a
    tail plane, in a unit square."""
    wing = abs(y - 0.42) <= 0.035 - 0.02 * abs(x - 0.5) and abs(x - 0.5) <= 0.42
    body = abs(x - 0.5) <= 0.035 and 0.26 <= y <= 0.72
    nose = (x - 0.5) ** 2 + ((y - 0.27) * 0.8) ** 2 <= 0.045 ** 2
    tail = abs(y - 0.69) <= 0.025 and abs(x - 0.5) <= 0.14
    return wing or body or nose or tail


def colour_at(x, y):
    """The colour at a point of the unit square, or None outside the icon."""
    if not inside_rounded(x, y, 0.02, 0.02, 0.98, 0.98, 0.18):
        return None
    if inside_rounded(x, y, 0.14, 0.14, 0.86, 0.86, 0.1):
        if in_glider(x, y):
            return GLIDER
        return CAP if y < 0.80 or not inside_rounded(x, y, 0.14, 0.14, 0.86, 0.78, 0.1) else EDGE
    return SKY if y < 0.5 else NAVY


def image(size):
    """Rows of (b, g, r, a), bottom row first as the icon format keeps them."""
    samples = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) / size,
                                  (py + (sy + 0.5) / samples) / size)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += c[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (round(t / covered) for t in total)
                row.append((b, g, r, round(255 * covered / samples ** 2)))
        rows.append(row)
    rows.reverse()
    return rows


def bitmap(size):
    """One image of the file: a BITMAPINFOHEADER, the pixels and the mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(p) for row in image(size) for p in row)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + bytes(mask_row * size)


def png(size):
    """The largest image as PNG, which the icon format takes from Windows Vista
    on and which keeps the file small."""
    rows = image(size)[::-1]
    raw = b"".join(b"\0" + bytes(c for (b, g, r, a) in row for c in (r, g, b, a)) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "shared/resources/malvet.ico"
    images = [png(s) if s == 256 else bitmap(s) for s in SIZES]
    data = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for size, img in zip(SIZES, images):
        side = 0 if size == 256 else size
        data += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, "wb") as f:
        f.write(data + b"".join(images))


if __name__ == "__main__":
    main()
