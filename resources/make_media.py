#!/usr/bin/env python3
"""Draws the small pictures under resources/: the clock animation shown while
a function runs (clock.gif) and the map cursors (cursors/<id>.png).
Run it again after changing a drawing; the outputs are committed."""
import math, os, struct, zlib

HERE = os.path.dirname(os.path.abspath(__file__))

def clock_frame(size, angle):
    c = (size - 1) / 2.0
    px = [[0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d <= c - 0.5:
                px[y][x] = 1                      # face
            if c - 2.5 <= d <= c - 0.5:
                px[y][x] = 2                      # rim
    for t in range(0, int(c * 0.8 * 4)):
        r = t / 4.0
        x = int(round(c + r * math.sin(angle))); y = int(round(c - r * math.cos(angle)))
        px[y][x] = 3                              # hand
    px[int(c)][int(c)] = 3
    return px

def lzw_uncompressed(indices):
    # Literal codes with a clear code often enough that codes stay 9 bits wide.
    clear, end = 256, 257
    codes = [clear]
    for i, v in enumerate(indices):
        if i and i % 254 == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    out, acc, n = bytearray(), 0, 0
    for code in codes:
        acc |= code << n; n += 9
        while n >= 8:
            out.append(acc & 0xFF); acc >>= 8; n -= 8
    if n:
        out.append(acc & 0xFF)
    return bytes(out)

def write_gif(path, frames, size, palette, delay_cs):
    pal = bytearray()
    for rgb in palette + [(0, 0, 0)] * (256 - len(palette)):
        pal += bytes(rgb)
    data = bytearray(b"GIF89a" + struct.pack("<HHBBB", size, size, 0xF7, 0, 0) + pal)
    data += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"   # loop for ever
    for px in frames:
        data += b"\x21\xF9\x04\x05" + struct.pack("<H", delay_cs) + b"\x00\x00"  # index 0 transparent
        data += b"\x2C" + struct.pack("<HHHHB", 0, 0, size, size, 0)
        data += b"\x08"
        body = lzw_uncompressed([v for row in px for v in row])
        for i in range(0, len(body), 255):
            chunk = body[i:i + 255]
            data += bytes([len(chunk)]) + chunk
        data += b"\x00"
    data += b"\x3B"
    with open(path, "wb") as f:
        f.write(data)

def write_png(path, rgba_rows, size):
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rgba_rows)
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)

def cursor(kind, size=32):
    clear, black, white = (0, 0, 0, 0), (0, 0, 0, 255), (255, 255, 255, 255)
    rows = [[clear] * size for _ in range(size)]
    if kind == "select":                      # an arrow with a small frame
        for y in range(20):
            for x in range(y // 2 + 1):
                rows[y][x] = black if x in (0, y // 2) or y == 19 else white
    else:                                     # magnifier with + or -
        c, r = 12, 9
        for y in range(size):
            for x in range(size):
                d = math.hypot(x - c, y - c)
                if r - 1.5 <= d <= r + 0.5:
                    rows[y][x] = black
                elif d < r - 1.5:
                    rows[y][x] = white
        for t in range(9):
            for w in range(3):
                rows[min(size - 1, 19 + t)][min(size - 1, 18 + t + w)] = black
        for t in range(-4, 5):
            rows[c][c + t] = black
            if kind == "zoomin":
                rows[c + t][c] = black
    return rows

if __name__ == "__main__":
    palette = [(255, 255, 255), (250, 250, 240), (40, 60, 120), (200, 40, 40)]
    frames = [clock_frame(32, 2 * math.pi * k / 12) for k in range(12)]
    write_gif(os.path.join(HERE, "clock.gif"), frames, 32, palette, 10)
    for cid, kind in (("101", "select"), ("102", "zoomin"), ("103", "zoomout")):
        write_png(os.path.join(HERE, "cursors", cid + ".png"), cursor(kind), 32)
