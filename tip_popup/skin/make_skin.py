#!/usr/bin/env python3
"""Draws the default skin of the text tip: PopMessage.xml and its bitmaps.

    make_skin.py OUTPUT_FOLDER

writes OUTPUT_FOLDER/PopMessage.xml and OUTPUT_FOLDER/skin/*.bmp. Shapes are drawn from
signed distances, so edges are smooth without any imaging library. Bitmaps are copied to the
window without alpha, so every element is drawn over the colour of the card where it sits.
"""
import math
import os
import struct
import sys

W, H = 256, 183
HEADER = 30          # blue band at the top
FOOTER_TOP = 145     # light band at the bottom

BLUE_TOP = (0x2B, 0x7C, 0xF0)
BLUE_BOTTOM = (0x16, 0x5F, 0xD0)
BODY = (0xFF, 0xFF, 0xFF)
FOOTER = (0xF3, 0xF6, 0xFA)
BORDER = (0xB9, 0xC7, 0xD9)
RULE = (0xE3, 0xE9, 0xF1)
WHITE = (0xFF, 0xFF, 0xFF)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def coverage(distance):
    """Share of a pixel inside a shape whose edge is `distance` away (negative: inside)."""
    return max(0.0, min(1.0, 0.5 - distance))


def rounded_rect(px, py, x0, y0, x1, y1, r):
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    d = math.hypot(px - cx, py - cy) - r
    if x0 + r <= px <= x1 - r or y0 + r <= py <= y1 - r:
        d = max(x0 - px, px - x1, y0 - py, py - y1)
    return d


def segment(px, py, ax, ay, bx, by, half_width):
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - ax - t * vx, py - ay - t * vy) - half_width


def convex(points, px, py):
    """Distance to a convex polygon's edge, negative inside (exact enough near the edge)."""
    cx = sum(p[0] for p in points) / len(points)
    cy = sum(p[1] for p in points) / len(points)
    d = -1e9
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        nx, ny = by - ay, ax - bx
        length = math.hypot(nx, ny)
        nx, ny = nx / length, ny / length
        if nx * (cx - ax) + ny * (cy - ay) > 0:  # make the normal point outward
            nx, ny = -nx, -ny
        d = max(d, nx * (px - ax) + ny * (py - ay))
    return d


class Image:
    def __init__(self, width, height, fill):
        self.w, self.h = width, height
        self.px = [[fill] * width for _ in range(height)]

    def shade(self, shape, colour):
        """Blends `colour` over every pixel by the coverage of `shape(x, y)` at its centre."""
        for y in range(self.h):
            row = self.px[y]
            for x in range(self.w):
                a = coverage(shape(x + 0.5, y + 0.5))
                if a > 0:
                    row[x] = mix(row[x], colour, a)

    def crop(self, x0, y0, width, height):
        out = Image(width, height, BODY)
        out.px = [row[x0:x0 + width] for row in self.px[y0:y0 + height]]
        return out

    def save(self, path):
        pad = (4 - (self.w * 3) % 4) % 4
        rows = b"".join(
            b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in row) + b"\0" * pad
            for row in reversed(self.px))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + rows)


def card():
    img = Image(W, H, BODY)
    for y in range(HEADER):
        colour = mix(BLUE_TOP, BLUE_BOTTOM, y / (HEADER - 1))
        img.px[y] = [colour] * W
    for y in range(FOOTER_TOP, H):
        img.px[y] = [FOOTER] * W
    img.px[FOOTER_TOP] = [RULE] * W
    img.px[HEADER + 32] = [RULE if 12 <= x < W - 12 else BODY for x in range(W)]
    # The mark in the header: a white disc with a blue play triangle.
    img.shade(lambda x, y: math.hypot(x - 19, y - 15) - 8.5, WHITE)
    img.shade(lambda x, y: convex([(16.5, 10.5), (16.5, 19.5), (24.0, 15.0)], x, y), BLUE_BOTTOM)

    # A hairline frame around the whole card.
    for x in range(W):
        img.px[0][x] = mix(img.px[0][x], BORDER, 0.6)
        img.px[H - 1][x] = BORDER
    for y in range(H):
        img.px[y][0] = mix(img.px[y][0], BORDER, 0.8)
        img.px[y][W - 1] = mix(img.px[y][W - 1], BORDER, 0.8)
    return img


def close_frames(background):
    """Four 18 x 18 frames: normal, mouse over, pressed, and a spare copy of normal."""
    size = 18
    frames = Image(size * 4, size, BODY)
    looks = [(None, (0xDC, 0xE9, 0xFF)), ((0x55, 0x99, 0xF7), WHITE), ((0x0F, 0x4E, 0xB3), WHITE),
             (None, (0xDC, 0xE9, 0xFF))]
    for i, (disc, cross) in enumerate(looks):
        frame = background.crop(W - 6 - size, 6, size, size)
        if disc:
            frame.shade(lambda x, y: math.hypot(x - 9, y - 9) - 8.5, disc)
        frame.shade(lambda x, y: min(segment(x, y, 5.5, 5.5, 12.5, 12.5, 0.9),
                                     segment(x, y, 12.5, 5.5, 5.5, 12.5, 0.9)), cross)
        for y in range(size):
            frames.px[y][i * size:(i + 1) * size] = frame.px[y]
    return frames


def view_frames(background):
    """Four 84 x 24 frames of the pill-shaped "view" button; the caption comes from the program."""
    w, h = 84, 24
    x0, y0 = W - 10 - w, H - 9 - h
    frames = Image(w * 4, h, BODY)
    fills = [(0x1E, 0x6F, 0xE6), (0x3A, 0x86, 0xF5), (0x12, 0x55, 0xBF), (0x1E, 0x6F, 0xE6)]
    for i, fill in enumerate(fills):
        frame = background.crop(x0, y0, w, h)
        frame.shade(lambda x, y: rounded_rect(x, y, 0.5, 0.5, w - 0.5, h - 0.5, 11.5), mix(fill, (0, 0, 0), 0.12))
        frame.shade(lambda x, y: rounded_rect(x, y, 1.5, 1.5, w - 1.5, h - 1.5, 10.5), fill)
        for y in range(h):
            frames.px[y][i * w:(i + 1) * w] = frame.px[y]
    return frames


SKIN_XML = """<?xml version="1.0" encoding="UTF-8"?>
<!-- The text tip's look: a card with a blue header, the title, the message and two buttons.
     Drawn by make_skin.py; regenerate rather than edit the bitmaps. -->
<skin path="skin">
  <subview id="card" image="card.bmp" offsetx="0" offsety="0" zorder="0">
    <button id="close" image="close.bmp" horizontal="right" offsetx="6" offsety="6" zorder="2" cursor="hand"/>
    <subtext id="maintext" image="title.bmp" offsetx="12" offsety="36" zorder="1" cursor="hand"
             textcolor="#1a1a1a" overcolor="#165fd0"/>
    <window id="RICHEDIT_1" offsetx="14" offsety="68" stretchx="14" stretchy="42" zorder="1"/>
    <button id="view" image="view.bmp" horizontal="right" vertical="bottom" offsetx="10" offsety="9" zorder="2"
            cursor="hand" text="true" textleft="18" texttop="0" textcolor="#ffffff"/>
  </subview>
</skin>
"""


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    folder = os.path.join(out, "skin")
    os.makedirs(folder, exist_ok=True)
    background = card()
    background.save(os.path.join(folder, "card.bmp"))
    background.crop(12, 36, W - 24, 24).save(os.path.join(folder, "title.bmp"))
    close_frames(background).save(os.path.join(folder, "close.bmp"))
    view_frames(background).save(os.path.join(folder, "view.bmp"))
    with open(os.path.join(out, "PopMessage.xml"), "w", encoding="utf-8", newline="\r\n") as f:
        f.write(SKIN_XML)


if __name__ == "__main__":
    main()
