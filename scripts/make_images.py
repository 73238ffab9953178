#!/usr/bin/env python3
"""Draws the program's small bitmaps (toolbar, tree images, icon) so they
can be regenerated without an image editor. Output goes to res/.

With --splash PATH it draws only the start-up picture, a 256-colour bitmap
that the build puts beside the program."""
import struct, os, sys

RES = os.path.join(os.path.dirname(__file__), '..', 'res')

def bmp24(w, h, px):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = px[y][x]
            line += bytes((b, g, r))
        data += line + b'\0' * (row - len(line))
    head = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return head + info + data

def canvas(w, h, c):
    return [[c] * w for _ in range(h)]

def rect(px, x0, y0, x1, y1, c):
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = c

def frame(px, x0, y0, x1, y1, c):
    rect(px, x0, y0, x1, y0 + 2, c); rect(px, x0, y1 - 2, x1, y1, c)
    rect(px, x0, y0, x0 + 2, y1, c); rect(px, x1 - 2, y0, x1, y1, c)

def line(px, x0, y0, x1, y1, c, t=2):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        x = x0 + (x1 - x0) * i // n; y = y0 + (y1 - y0) * i // n
        rect(px, x, y, x + t, y + t, c)

def bmp8(w, h, palette, px):
    """An 8-bit bitmap: palette is 256 (r, g, b), px rows of indices."""
    row = (w + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        data += bytes(px[y]) + b'\0' * (row - w)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    return head + info + table + data

# Glyphs of 5 by 7 cells for the splash lettering.
FONT = {
    'A': ['01110', '10001', '10001', '11111', '10001', '10001', '10001'],
    'C': ['01111', '10000', '10000', '10000', '10000', '10000', '01111'],
    'D': ['11110', '10001', '10001', '10001', '10001', '10001', '11110'],
    'E': ['11111', '10000', '10000', '11110', '10000', '10000', '11111'],
    'H': ['10001', '10001', '10001', '11111', '10001', '10001', '10001'],
    'I': ['11111', '00100', '00100', '00100', '00100', '00100', '11111'],
    'L': ['10000', '10000', '10000', '10000', '10000', '10000', '11111'],
    'N': ['10001', '11001', '10101', '10011', '10001', '10001', '10001'],
    'O': ['01110', '10001', '10001', '10001', '10001', '10001', '01110'],
    'R': ['11110', '10001', '10001', '11110', '10100', '10010', '10001'],
    'T': ['11111', '00100', '00100', '00100', '00100', '00100', '00100'],
    'V': ['10001', '10001', '10001', '10001', '10001', '01010', '00100'],
    'W': ['10001', '10001', '10001', '10101', '10101', '10101', '01010'],
    '0': ['01110', '10001', '10011', '10101', '11001', '10001', '01110'],
    '1': ['00100', '01100', '00100', '00100', '00100', '00100', '01110'],
    '.': ['00000', '00000', '00000', '00000', '00000', '01100', '01100'],
    ' ': ['00000'] * 7,
}

def splash_picture(path):
    w, h = 480, 270
    # Indices 0-191: the background's blue gradient; then the few solid
    # colours of the drawing.
    palette = [(16 + i * 50 // 191, 36 + i * 90 // 191, 80 + i * 140 // 191) for i in range(192)]
    solid = {'white': (255, 255, 255), 'yellow': (236, 196, 52), 'dark': (40, 40, 48),
             'paper': (250, 248, 236), 'shadow': (10, 22, 50), 'gold': (250, 220, 120)}
    names = list(solid)
    palette += [solid[n] for n in names]
    palette += [(0, 0, 0)] * (256 - len(palette))
    ix = {n: 192 + i for i, n in enumerate(names)}
    px = [[(x + 2 * y) * 191 // (w + 2 * h) for x in range(w)] for y in range(h)]
    def box(x0, y0, x1, y1, c):
        for y in range(max(y0, 0), min(y1, h)):
            for x in range(max(x0, 0), min(x1, w)):
                px[y][x] = c
    def text(s, x, y, cell, c):
        for ch in s:
            for r, bits in enumerate(FONT[ch]):
                for k, bit in enumerate(bits):
                    if bit == '1':
                        box(x + k * cell, y + r * cell, x + (k + 1) * cell, y + (r + 1) * cell, c)
            x += 6 * cell
    # A catalog folder with a document in it.
    box(44, 84, 92, 96, ix['yellow']); box(44, 96, 140, 170, ix['yellow'])
    box(64, 64, 120, 150, ix['paper'])
    for y in range(78, 140, 12):
        box(72, y, 112, y + 3, ix['dark'])
    box(44, 118, 140, 176, ix['gold']); box(44, 176, 140, 180, ix['shadow'])
    text('ARCHIVON', 170 + 3, 90 + 3, 6, ix['shadow'])
    text('ARCHIVON', 170, 90, 6, ix['white'])
    text('VER 1.10', 172, 150, 3, ix['gold'])
    text('TALLOWIND', 172, 226, 2, ix['white'])
    with open(path, 'wb') as f:
        f.write(bmp8(w, h, palette, px))

if len(sys.argv) == 3 and sys.argv[1] == '--splash':
    splash_picture(sys.argv[2])
    sys.exit(0)

GREY, DARK, BLUE, RED, GREEN, YEL, WHITE = (192,192,192), (64,64,64), (30,80,200), (200,40,40), (40,150,60), (230,190,40), (255,255,255)

def folder(px, ox, col):
    rect(px, ox+4, 9, ox+14, 12, col); rect(px, ox+4, 12, ox+28, 26, col); frame(px, ox+4, 12, ox+28, 26, DARK)

def page(px, ox):
    rect(px, ox+8, 4, ox+24, 28, WHITE); frame(px, ox+8, 4, ox+24, 28, DARK)
    for y in (10, 14, 18, 22): rect(px, ox+11, y, ox+21, y+1, DARK)

# Buttons in toolbar order: add catalog, delete catalog, find, cut, copy,
# paste, add files, new note, open, open working copy, copy to working
# folder, check in, check in and remove, description, encrypt, delete.
tb = canvas(16 * 32, 32, GREY)
folder(tb, 0, YEL); rect(tb, 20, 3, 22, 11, GREEN); rect(tb, 17, 6, 25, 8, GREEN)
folder(tb, 32, YEL); line(tb, 32+18, 2, 32+28, 10, RED); line(tb, 32+28, 2, 32+18, 10, RED)
frame(tb, 64+6, 6, 64+20, 20, DARK); line(tb, 64+18, 18, 64+27, 27, DARK, 3)
line(tb, 96+8, 4, 96+22, 22, DARK); line(tb, 96+22, 4, 96+8, 22, DARK); frame(tb, 96+5, 21, 96+12, 28, RED); frame(tb, 96+18, 21, 96+25, 28, RED)
page(tb, 128 - 3); page(tb, 128 + 3)
rect(tb, 160+6, 8, 160+26, 28, (150,100,50)); page(tb, 160 + 4)
page(tb, 192); rect(tb, 192+20, 16, 192+30, 18, GREEN); rect(tb, 192+24, 12, 192+26, 22, GREEN)
page(tb, 224); rect(tb, 224+18, 18, 224+30, 30, YEL)
folder(tb, 256, (240,220,150)); page(tb, 256 + 6)
page(tb, 288); folder(tb, 288 + 4, BLUE)
page(tb, 320); line(tb, 320+22, 10, 320+30, 18, BLUE); rect(tb, 320+18, 16, 320+30, 18, BLUE)
page(tb, 352); line(tb, 352+2, 16, 352+10, 24, GREEN, 3); line(tb, 352+10, 24, 352+18, 8, GREEN, 3)
page(tb, 384); line(tb, 384+2, 16, 384+10, 24, GREEN, 3); line(tb, 384+18, 20, 384+28, 30, RED); line(tb, 384+28, 20, 384+18, 30, RED)
page(tb, 416); line(tb, 416+14, 26, 416+28, 10, BLUE, 3)
rect(tb, 448+8, 14, 448+24, 28, YEL); frame(tb, 448+11, 5, 448+21, 16, DARK); frame(tb, 448+8, 14, 448+24, 28, DARK)
line(tb, 480+6, 6, 480+26, 26, RED, 4); line(tb, 480+26, 6, 480+6, 26, RED, 4)
open(os.path.join(RES, 'toolbar.bmp'), 'wb').write(bmp24(16 * 32, 32, tb))

# Tree images: closed and open catalog, magenta is transparent.
MAG = (255, 0, 255)
tr = canvas(32, 16, MAG)
rect(tr, 1, 3, 7, 5, YEL); rect(tr, 1, 5, 15, 14, YEL); frame(tr, 1, 5, 15, 14, DARK)
rect(tr, 17, 3, 23, 5, YEL); rect(tr, 17, 5, 31, 14, (250,230,140)); frame(tr, 17, 5, 31, 14, DARK)
open(os.path.join(RES, 'tree.bmp'), 'wb').write(bmp24(32, 16, tr))

def ico_image(size):
    px = canvas(size, size, (0, 0, 0))
    s = size / 32
    def R(x0, y0, x1, y1, c): rect(px, int(x0*s), int(y0*s), int(x1*s), int(y1*s), c)
    R(2, 6, 30, 30, (40, 70, 160)); R(2, 2, 14, 6, (40, 70, 160)); R(6, 10, 26, 26, YEL)
    for y in (13, 17, 21): R(9, y, 23, y + 2, DARK)
    rows = []
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b = px[y][x]
            rows.append(bytes((b, g, r, 255)))
    xor = b''.join(rows)
    andmask = b'\0' * (((size + 31) // 32) * 4 * size)
    head = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return head + xor + andmask

imgs = [ico_image(32), ico_image(16)]
out = struct.pack('<HHH', 0, 1, len(imgs))
off = 6 + 16 * len(imgs)
for sz, im in zip((32, 16), imgs):
    out += struct.pack('<BBBBHHII', sz, sz, 0, 0, 1, 32, len(im), off); off += len(im)
open(os.path.join(RES, 'archivon.ico'), 'wb').write(out + b''.join(imgs))
