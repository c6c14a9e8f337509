#!/usr/bin/env python3
"""Draws the "Optical Information" window's decorative picture: a disc
riding out on the tray of a drive, over the about box's night-blue gradient.
Writes a PPM on stdout; the JPEG in this folder is
`make-optical-picture.py | convert ppm:- -quality 90 optical.jpg`."""
import math
import sys

W, H = 96, 72


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(x * (1 - t) + y * t for x, y in zip(a, b))


def background(x, y):
    t = (x + y) / (W + H - 2)
    return (16 + 10 * t, 32 + 60 * t, 72 + 50 * t)


def pixel(x, y):
    colour = background(x, y)
    # The drive: a dark front panel along the bottom with its slot and a
    # green activity light.
    if y >= 54:
        colour = (58, 62, 70) if y > 55 else (120, 126, 136)
        if 60 <= y <= 62 and 10 <= x <= 70:
            colour = (20, 22, 26)  # the tray slot
        if 60 <= y <= 62 and 80 <= x <= 84:
            colour = (90, 220, 110)  # the light
        return colour
    # The tray: a lighter plate the disc lies on, coming out of the slot.
    if 40 <= y < 54 and 8 <= x <= 72:
        colour = (92, 98, 108)
    # The disc: silver with grooves and a rainbow sheen, its lower part
    # still inside the drive.
    cx, cy, radius = 40, 32, 27
    d = math.hypot(x - cx, y - cy)
    if d <= radius:
        if d < 4:
            return (24, 30, 44)  # spindle hole
        if d < 9:
            return (170, 176, 186)  # hub
        angle = math.atan2(y - cy, x - cx)
        groove = 0.5 + 0.5 * math.sin(d * 1.9)
        sheen = 0.5 + 0.5 * math.cos(2 * angle - 0.6)
        base = 150 + 60 * sheen + 12 * groove
        hue = (angle / (2 * math.pi) + d / 50.0) % 1.0
        disc = (base + 40 * math.sin(2 * math.pi * hue), base + 40 * math.sin(2 * math.pi * (hue + 1 / 3)),
                base + 40 * math.sin(2 * math.pi * (hue + 2 / 3)))
        edge = max(0.0, d - (radius - 1.5)) / 1.5  # soft rim
        colour = mix(disc, colour, edge)
    return colour


out = sys.stdout.buffer
out.write(b"P6\n%d %d\n255\n" % (W, H))
for y in range(H):
    out.write(bytes(clamp(c) for x in range(W) for c in pixel(x, y)))
