#!/usr/bin/env python3
"""Draws the program's small bitmaps (toolbar, tree images, icon) so they
can be regenerated without an image editor. Output goes to res/."""
import struct, os

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
