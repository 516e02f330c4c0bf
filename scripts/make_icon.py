#!/usr/bin/env python3
"""Draws the QuorvexDemo application icon and writes it in every form the
build uses:

  res/icons/quorvex_<N>.png  one PNG per size
  res/icons/quorvex.ico      the same PNGs in one ICO (Windows resource script)

The build embeds the PNGs in the program itself (res/embed_icons.cmake).

The picture is a satellite dish with signal arcs on a blue rounded square. It
is drawn from signed distance functions with one sample per pixel: the
distance, measured in pixels, gives each shape's edge coverage, so every size
is anti-aliased without supersampling. Standard library only.

Run from anywhere: python3 scripts/make_icon.py
"""

import math
import os
import struct
import zlib

SIZES = (16, 24, 32, 48, 64, 256)
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---------------------------------------------------------------- geometry
# Coordinates are in icon units: (0,0) top left, (1,1) bottom right.


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def sd_round_box(px, py, cx, cy, hw, hh, r):
    qx = abs(px - cx) - hw + r
    qy = abs(py - cy) - hh + r
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_segment(px, py, ax, ay, bx, by, r):
    """Capsule: segment a-b thickened to radius r."""
    dx, dy = bx - ax, by - ay
    t = clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(px - ax - t * dx, py - ay - t * dy) - r


def sd_ellipse(px, py, cx, cy, a, b, angle):
    """Ellipse with semi-axis a along `angle` and b across it. The implicit
    function divided by its gradient is close to the true distance near the
    edge, which is all the coverage needs."""
    c, s = math.cos(angle), math.sin(angle)
    x = (px - cx) * c + (py - cy) * s
    y = -(px - cx) * s + (py - cy) * c
    f = (x / a) ** 2 + (y / b) ** 2 - 1.0
    g = math.hypot(2 * x / (a * a), 2 * y / (b * b))
    return f / max(g, 1e-9)


def sd_half_plane(px, py, ox, oy, nx, ny):
    """Negative on the side the normal (nx, ny) points away from."""
    return (px - ox) * nx + (py - oy) * ny


def sd_arc(px, py, cx, cy, radius, mid, half_span, half_width):
    """Arc of a ring around `mid` +- half_span with round ends."""
    dx, dy = px - cx, py - cy
    ang = math.atan2(dy, dx)
    diff = (ang - mid + math.pi) % (2 * math.pi) - math.pi
    if abs(diff) <= half_span:
        return abs(math.hypot(dx, dy) - radius) - half_width
    end = mid + math.copysign(half_span, diff)
    ex, ey = cx + radius * math.cos(end), cy + radius * math.sin(end)
    return math.hypot(px - ex, py - ey) - half_width


def lerp_color(c0, c1, t):
    t = clamp(t)
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))


def hex_color(h):
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (1, 3, 5))


# ---------------------------------------------------------------- picture

BG_TOP = hex_color("#3B8FE8")
BG_BOTTOM = hex_color("#143F86")
DISH_LIGHT = hex_color("#FFFFFF")
DISH_SHADE = hex_color("#C7D6E8")
DISH_BACK = hex_color("#8FA6C2")
METAL = hex_color("#DDE6F0")
SIGNAL = hex_color("#FFC233")
SHADOW = (0.02, 0.08, 0.2)

# The dish faces up and to the right (y grows downwards).
AXIS = -math.pi / 4
UX, UY = math.cos(AXIS), math.sin(AXIS)
DISH_X, DISH_Y = 0.40, 0.56
FEED_X, FEED_Y = DISH_X + UX * 0.25, DISH_Y + UY * 0.25


def layers(size):
    """The shapes from back to front: (distance function, colour function,
    opacity). Strokes never get thinner than about a pixel and a half, and the
    smallest sizes keep fewer arcs, so the motif survives at 16 px."""
    px1 = 1.0 / size

    def stroke(w):
        return max(w, 1.5 * px1) / 2

    def bg_colour(x, y):
        # Light from the top left: a diagonal gradient.
        return lerp_color(BG_TOP, BG_BOTTOM, (x * 0.35 + y) / 1.2)

    def dish_face_colour(x, y):
        # Bright rim towards the feed, shading inside towards the back.
        t = ((x - DISH_X) * UX + (y - DISH_Y) * UY) / 0.12
        return lerp_color(DISH_SHADE, DISH_LIGHT, 0.5 + t)

    def solid(c):
        return lambda x, y: c

    margin = 0.03 if size >= 32 else 0.0
    out = [
        (lambda x, y: sd_round_box(x, y, 0.5, 0.5, 0.5 - margin, 0.5 - margin, 0.2),
         bg_colour, 1.0),
    ]

    # Stand and foot, behind the dish.
    foot_y = 0.86
    out.append((lambda x, y: sd_segment(x, y, DISH_X - 0.04, DISH_Y + 0.02,
                                        DISH_X - 0.04, foot_y, stroke(0.05)),
                solid(DISH_BACK), 1.0))
    out.append((lambda x, y: sd_round_box(x, y, DISH_X - 0.04, foot_y, 0.15, 0.035, 0.03),
                solid(DISH_BACK), 1.0))

    # Soft shadow of the bowl on the background.
    out.append((lambda x, y: sd_ellipse(x - 0.025, y - 0.03, DISH_X, DISH_Y, 0.31, 0.15,
                                        AXIS + math.pi / 2) - 0.01,
                solid(SHADOW), 0.3))

    # Bowl: the back half of a deep ellipse, then the shallower rim face.
    out.append((lambda x, y: max(
        sd_ellipse(x, y, DISH_X, DISH_Y, 0.31, 0.17, AXIS + math.pi / 2),
        sd_half_plane(x, y, DISH_X, DISH_Y, UX, UY)),
                solid(DISH_BACK), 1.0))
    out.append((lambda x, y: sd_ellipse(x, y, DISH_X, DISH_Y, 0.31, 0.09, AXIS + math.pi / 2),
                dish_face_colour, 1.0))

    # Feed arm and the LNB at its focus.
    out.append((lambda x, y: sd_segment(x, y, DISH_X, DISH_Y, FEED_X, FEED_Y, stroke(0.03)),
                solid(METAL), 1.0))
    out.append((lambda x, y: math.hypot(x - FEED_X, y - FEED_Y) - max(0.05, 2.0 * px1),
                solid(SIGNAL), 1.0))

    # Signal arcs leaving the feed.
    radii = (0.12, 0.19, 0.26) if size >= 32 else (0.14, 0.25) if size >= 24 else (0.26,)
    for r in radii:
        out.append((lambda x, y, r=r: sd_arc(x, y, FEED_X, FEED_Y, r, AXIS, math.radians(38),
                                              stroke(0.045)),
                    solid(SIGNAL), 1.0))
    return out


def render(size):
    """RGBA rows, 8 bits per channel, straight (not premultiplied) alpha."""
    shapes = layers(size)
    rows = []
    for j in range(size):
        row = bytearray()
        y = (j + 0.5) / size
        for i in range(size):
            x = (i + 0.5) / size
            r = g = b = a = 0.0  # premultiplied while compositing
            for dist, colour, opacity in shapes:
                cov = clamp(0.5 - dist(x, y) * size) * opacity
                if cov <= 0.0:
                    continue
                cr, cg, cb = colour(x, y)
                r = cr * cov + r * (1 - cov)
                g = cg * cov + g * (1 - cov)
                b = cb * cov + b * (1 - cov)
                a = cov + a * (1 - cov)
            if a > 0:
                r, g, b = r / a, g / a, b / a
            row += bytes(int(round(clamp(v) * 255)) for v in (r, g, b, a))
        rows.append(bytes(row))
    return rows


# ---------------------------------------------------------------- files


def png_bytes(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on every row
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_bytes(images):
    """ICO with PNG-compressed entries (Windows Vista and later read these)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, png in images:
        dim = 0 if size >= 256 else size  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(png), offset)
        blobs += png
        offset += len(png)
    return header + entries + blobs


def main():
    icon_dir = os.path.join(ROOT, "res", "icons")
    os.makedirs(icon_dir, exist_ok=True)
    images = []
    for size in SIZES:
        png = png_bytes(size, render(size))
        with open(os.path.join(icon_dir, f"quorvex_{size}.png"), "wb") as f:
            f.write(png)
        images.append((size, png))
    with open(os.path.join(icon_dir, "quorvex.ico"), "wb") as f:
        f.write(ico_bytes(images))


if __name__ == "__main__":
    main()
