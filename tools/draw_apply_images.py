#!/usr/bin/env python3
"""Draws the pictures of the apply dialogs:

  apply_confirm_icon.png  32 x 32   the confirmation's icon: a network globe with a
                                     question badge
  apply_bullet.png        10 x 10   the bullet before each address label
  apply_progress.png     480 x 32   the progress animation, fifteen 32 x 32 frames side
                                     by side (pictures 168 to 182): a globe with two arrows
                                     running round it, 24 degrees further per frame

Pure Python, no imaging library: every pixel is the coverage of the shapes over a 4 x 4
grid of samples.

Usage: tools/draw_apply_images.py resources/images
"""
import math
import os
import struct
import sys
import zlib

SAMPLES = 4
FRAMES = 15

BLUE = (40, 110, 200)
DARK_BLUE = (20, 60, 130)
LIGHT = (235, 245, 255)
ORANGE = (240, 140, 30)
GREEN = (40, 160, 80)
WHITE = (255, 255, 255)


def blank(width, height):
    return [[(0, 0, 0, 0)] * width for _ in range(height)]


def paint(pixels, colour, inside, x0=0, width=None):
    """Blends `colour` over the pixels, weighted by the share of samples inside."""
    height = len(pixels)
    width = width if width is not None else len(pixels[0])
    for py in range(height):
        for px in range(width):
            hit = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    if inside(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                        hit += 1
            if hit == 0:
                continue
            a = hit / (SAMPLES * SAMPLES)
            r0, g0, b0, a0 = pixels[py][x0 + px]
            a0 /= 255.0
            out = a + a0 * (1 - a)
            mix = [(c * a + c0 * a0 * (1 - a)) / out for c, c0 in zip(colour, (r0, g0, b0))]
            pixels[py][x0 + px] = (int(round(mix[0])), int(round(mix[1])), int(round(mix[2])),
                                   int(round(255 * out)))


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_in, r_out):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def ellipse_ring(cx, cy, rx, ry, thickness):
    def inside(x, y):
        if rx <= 0 or ry <= 0:
            return abs(x - cx) <= thickness / 2 and abs(y - cy) <= ry
        d = math.sqrt(((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2)
        return abs(d - 1) * min(rx, ry) <= thickness / 2
    return inside


def clipped(shape, clip):
    return lambda x, y: shape(x, y) and clip(x, y)


def segment(x1, y1, x2, y2, width):
    def inside(x, y):
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        cx, cy = x1 + t * dx, y1 + t * dy
        return (x - cx) ** 2 + (y - cy) ** 2 <= (width / 2) ** 2
    return inside


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    def inside(x, y):
        s1, s2, s3 = side(a, b, x, y), side(b, c, x, y), side(c, a, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return inside


def arc(cx, cy, r, width, start, sweep):
    """A thick arc from angle `start` over `sweep` degrees (clockwise on screen)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return (angle - start) % 360 <= sweep
    return inside


def globe(pixels, cx, cy, r, x0=0, width=None):
    paint(pixels, BLUE, disc(cx, cy, r), x0, width)
    body = disc(cx, cy, r - 0.6)
    line = 1.1
    paint(pixels, LIGHT, clipped(ellipse_ring(cx, cy, r * 0.45, r, line), body), x0, width)
    paint(pixels, LIGHT, clipped(segment(cx, cy - r, cx, cy + r, line), body), x0, width)
    paint(pixels, LIGHT, clipped(segment(cx - r, cy, cx + r, cy, line), body), x0, width)
    for dy in (-0.5, 0.5):
        half = math.sqrt(max(0.0, r * r - (dy * r) ** 2))
        paint(pixels, LIGHT,
              clipped(segment(cx - half, cy + dy * r, cx + half, cy + dy * r, line), body), x0,
              width)
    paint(pixels, DARK_BLUE, ring(cx, cy, r - 0.9, r), x0, width)


def arrow(pixels, cx, cy, r, start, sweep, colour, x0, width):
    paint(pixels, colour, arc(cx, cy, r, 2.6, start, sweep), x0, width)
    # The head points along the direction of travel at the arc's end.
    end = math.radians(start + sweep)
    tip_angle = end + math.radians(14)
    px, py = cx + r * math.cos(end), cy + r * math.sin(end)
    tx, ty = cx + r * math.cos(tip_angle), cy + r * math.sin(tip_angle)
    nx, ny = math.cos(end), math.sin(end)
    head = triangle((px + nx * 3.4, py + ny * 3.4), (px - nx * 3.4, py - ny * 3.4), (tx, ty))
    paint(pixels, colour, head, x0, width)


def confirm_icon():
    pixels = blank(32, 32)
    globe(pixels, 14.5, 14.5, 12.5)
    paint(pixels, WHITE, disc(23.5, 23.5, 8.0))
    paint(pixels, ORANGE, disc(23.5, 23.5, 7.0))
    # A question mark: a hook and a dot.
    paint(pixels, WHITE, arc(23.5, 21.0, 2.4, 1.8, 180, 250))
    paint(pixels, WHITE, segment(24.3, 23.3, 23.5, 25.0, 1.8))
    paint(pixels, WHITE, disc(23.5, 27.3, 1.1))
    return pixels


def bullet():
    pixels = blank(10, 10)
    paint(pixels, DARK_BLUE, triangle((5, 0.5), (9.5, 5), (5, 9.5)))
    paint(pixels, DARK_BLUE, triangle((5, 0.5), (0.5, 5), (5, 9.5)))
    paint(pixels, (120, 180, 240), disc(5, 5, 1.8))
    return pixels


def progress_strip():
    pixels = blank(32 * FRAMES, 32)
    for frame in range(FRAMES):
        x0 = frame * 32
        globe(pixels, 16, 16, 8.5, x0, 32)
        turn = frame * 360.0 / FRAMES
        arrow(pixels, 16, 16, 13.0, turn, 110, GREEN, x0, 32)
        arrow(pixels, 16, 16, 13.0, turn + 180, 110, ORANGE, x0, 32)
    return pixels


def png(pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    folder = sys.argv[1]
    for name, pixels in (("apply_confirm_icon.png", confirm_icon()),
                         ("apply_bullet.png", bullet()),
                         ("apply_progress.png", progress_strip())):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(png(pixels))
