#!/usr/bin/env python3
"""Draws the about box's decorative picture: a disc platter over a night-blue
gradient with a row of drive-letter tiles. Writes a PPM on stdout; the JPEG in
this folder is `make-about-picture.py | cjpeg -quality 88 -optimize`."""
import math
import sys

W, H = 320, 120


def clamp(v):
    return max(0, min(255, int(round(v))))


def pixel(x, y):
    # Background: night blue to teal, left to right.
    t = x / (W - 1)
    r, g, b = 16 + 10 * t, 32 + 60 * t, 72 + 50 * t
    # The platter: centre left, silver with grooves and a rainbow sheen.
    cx, cy, radius = 70, 60, 52
    d = math.hypot(x - cx, y - cy)
    if d <= radius:
        if d < 7:
            return (24, 30, 44)  # spindle hole
        if d < 16:
            return (170, 176, 186)  # hub
        angle = math.atan2(y - cy, x - cx)
        groove = 0.5 + 0.5 * math.sin(d * 1.7)
        sheen = 0.5 + 0.5 * math.cos(2 * angle - 0.6)
        base = 150 + 60 * sheen + 12 * groove
        hue = (angle / (2 * math.pi) + d / 90.0) % 1.0
        rr = base + 40 * math.sin(2 * math.pi * hue)
        gg = base + 40 * math.sin(2 * math.pi * (hue + 1 / 3))
        bb = base + 40 * math.sin(2 * math.pi * (hue + 2 / 3))
        edge = max(0.0, (d - (radius - 2)) / 2)  # soft rim
        return (clamp(rr * (1 - edge) + r * edge), clamp(gg * (1 - edge) + g * edge),
                clamp(bb * (1 - edge) + b * edge))
    # Drive-letter tiles along the right: plain rounded squares.
    for i in range(5):
        x0, y0, size = 140 + i * 35, 42, 28
        if x0 <= x < x0 + size and y0 <= y < y0 + size:
            inner = 3 <= x - x0 < size - 3 and 3 <= y - y0 < size - 3
            shade = 230 if inner else 120
            return (clamp(shade - 10 * i), clamp(shade - 4 * i), clamp(shade + 10 - 2 * i))
    return (clamp(r), clamp(g), clamp(b))


out = sys.stdout.buffer
out.write(b"P6\n%d %d\n255\n" % (W, H))
for y in range(H):
    out.write(bytes(c for x in range(W) for c in pixel(x, y)))
