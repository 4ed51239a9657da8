#!/usr/bin/env python3
"""Draws the program icon (48x48, 24-bit colour with a transparency mask) and
writes it as src/res/promptwright.ico. Rerun after changing the drawing."""
import struct, sys, math

N = 48
SS = 4  # supersampling per axis

def inside_round_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def dist_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))

def sample(x, y):
    """Colour (r, g, b, a) at a point of the 48x48 canvas."""
    # Shadow
    colour = None
    if inside_round_rect(x, y, 4, 6, 46, 45, 4):
        colour = (120, 120, 130, 0.35)
    # Window frame
    if inside_round_rect(x, y, 2, 3, 44, 42, 4):
        if y < 12:  # title bar, blue gradient
            t = (y - 3) / 9
            colour = (int(40 + 30 * t), int(90 + 40 * t), int(200 - 20 * t), 1)
            # close box
            if 36 <= x <= 41 and 5 <= y <= 10:
                colour = (230, 80, 70, 1)
        else:
            colour = (250, 250, 252, 1)
        if not inside_round_rect(x, y, 3, 4, 43, 41, 3.2):
            colour = (30, 50, 110, 1)
    # Warning triangle (the message box's icon)
    ax, ay, bx, by, cx, cy = 13, 17, 5.5, 31, 20.5, 31
    def side(px, py, x1, y1, x2, y2):
        return (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2)
    d1, d2, d3 = side(x, y, ax, ay, bx, by), side(x, y, bx, by, cx, cy), side(x, y, cx, cy, ax, ay)
    if (d1 <= 0 and d2 <= 0 and d3 <= 0) or (d1 >= 0 and d2 >= 0 and d3 >= 0):
        colour = (245, 190, 30, 1)
        if (12.2 <= x <= 13.8 and 21 <= y <= 26.5) or math.hypot(x - 13, y - 28.7) <= 0.95:
            colour = (40, 30, 10, 1)
    # Code lines to its right
    for i, (ly, w) in enumerate(((19, 15), (24, 11), (29, 14))):
        if 24 <= x <= 24 + w and ly <= y <= ly + 2:
            colour = (70, 110, 190, 1) if i != 1 else (150, 160, 175, 1)
    # OK button
    if inside_round_rect(x, y, 15, 34, 31, 39.5, 1.5):
        colour = (225, 228, 235, 1)
        if not inside_round_rect(x, y, 15.7, 34.7, 30.3, 38.8, 1.0):
            colour = (110, 120, 140, 1)
    # Pen, lower right, writing the code
    if dist_to_segment(x, y, 45, 20, 31, 40) <= 2.6:
        colour = (240, 160, 40, 1) if dist_to_segment(x, y, 45, 20, 31, 40) <= 1.9 else (120, 70, 10, 1)
        if math.hypot(x - 31, y - 40) < 4.2:
            colour = (235, 215, 180, 1)
        if math.hypot(x - 30.2, y - 41.2) < 1.6:
            colour = (30, 30, 30, 1)
    return colour

def render():
    pixels = []
    for py in range(N):
        row = []
        for px in range(N):
            r = g = b = a = 0.0
            for sy in range(SS):
                for sx in range(SS):
                    c = sample(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    if c:
                        r += c[0] * c[3]; g += c[1] * c[3]; b += c[2] * c[3]; a += c[3]
            n = SS * SS
            alpha = a / n
            if alpha > 0:
                row.append((int(r / a), int(g / a), int(b / a), alpha))
            else:
                row.append((0, 0, 0, 0.0))
        pixels.append(row)
    return pixels

def write_ico(path, pixels):
    # 24-bit colour cannot carry alpha: blend soft edges onto the button face
    # grey the icon is mostly shown on, and mask out what is nearly transparent.
    face = (236, 233, 216)
    xor = bytearray()
    for y in range(N - 1, -1, -1):
        for x in range(N):
            r, g, b, a = pixels[y][x]
            if a < 0.3:
                xor += bytes((0, 0, 0))
            else:
                k = min(1.0, a)
                xor += bytes((int(b * k + face[2] * (1 - k)), int(g * k + face[1] * (1 - k)), int(r * k + face[0] * (1 - k))))
    and_mask = bytearray()
    for y in range(N - 1, -1, -1):
        bits = 0
        row = bytearray()
        for x in range(N):
            bits = (bits << 1) | (1 if pixels[y][x][3] < 0.3 else 0)
            if x % 8 == 7:
                row.append(bits); bits = 0
        row += bytes((4 - len(row) % 4) % 4)
        and_mask += row
    header = struct.pack('<IiiHHIIiiII', 40, N, N * 2, 1, 24, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    ico = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', N, N, 0, 0, 1, 24, len(image), 22) + image
    open(path, 'wb').write(ico)

if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'src/res/promptwright.ico'
    write_ico(out, render())
