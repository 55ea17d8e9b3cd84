#!/usr/bin/env python3
"""Draws the profile list's marker strip: two 16 x 16 images side by side, a green check
mark (the profile in use) and a grey dot (kept for the strip's second place). White is the
transparent colour of the strip, so the PNG carries real transparency instead.

Usage: tools/draw_list_marker.py resources/images/list_marker.png
"""
import struct
import sys
import zlib

WIDTH, HEIGHT = 32, 16


def coverage(px, py, segments, width):
    """Anti-aliased coverage of pixel (px, py) by thick line segments."""
    samples = 4
    hit = 0
    for sy in range(samples):
        for sx in range(samples):
            x = px + (sx + 0.5) / samples
            y = py + (sy + 0.5) / samples
            for (x1, y1, x2, y2) in segments:
                dx, dy = x2 - x1, y2 - y1
                t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
                cx, cy = x1 + t * dx, y1 + t * dy
                if (x - cx) ** 2 + (y - cy) ** 2 <= (width / 2) ** 2:
                    hit += 1
                    break
    return hit / (samples * samples)


def draw():
    pixels = [[(0, 0, 0, 0)] * WIDTH for _ in range(HEIGHT)]
    check = [(2.5, 8.5, 6.5, 12.5), (6.5, 12.5, 13.5, 3.5)]
    for y in range(HEIGHT):
        for x in range(16):
            a = coverage(x, y, check, 3.0)
            if a > 0:
                pixels[y][x] = (30, 150, 60, int(round(255 * a)))
    for y in range(HEIGHT):
        for x in range(16, 32):
            d2 = (x + 0.5 - 24) ** 2 + (y + 0.5 - 8) ** 2
            if d2 <= 9:
                pixels[y][x] = (128, 128, 128, 255)
    return pixels


def png(pixels):
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(png(draw()))
