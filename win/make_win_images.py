#!/usr/bin/python3
"""Make the Windows program's pictures from the same images as the Linux one:

    keychart.bmp   the key chart, 24-bit, from res/keychart.png
    keychart2x.bmp the same at twice the size, from res/keychart@2x.png, for
                   displays above 100 %
    mirawen.ico    the application icon, 64, 48, 32 and 16 pixels square,
                   32-bit with alpha, from res/mirawen-64.png and the others

Plain Python (zlib only), so that the build needs no imaging package:

    python3 win/make_win_images.py RES_FOLDER OUT_FOLDER
"""

import os
import struct
import sys
import zlib


def read_png(path):
    """(width, height, rows of RGBA tuples) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit("%s: not a PNG" % path)
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit("%s: only 8-bit RGB or RGBA, not interlaced" % path)
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + guess) & 0xFF
        previous = line
        rows.append([tuple(line[x * channels:x * channels + channels]) + ((255,) if channels == 3 else ())
                     for x in range(width)])
    return width, height, rows


def dib(width, height, rows, bits):
    """Bottom-up DIB pixels, rows padded to four bytes."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r)) if bits == 24 else bytes((b, g, r, a))
        line += b"\0" * (-len(line) % 4)
        out += line
    return bytes(out)


def write_bmp(png, path):
    width, height, rows = read_png(png)
    pixels = dib(width, height, rows, 24)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)))
        f.write(info + pixels)


def write_ico(pngs, path):
    images = []
    for png in pngs:
        width, height, rows = read_png(png)
        pixels = dib(width, height, rows, 32)
        mask = b"\0" * (((width + 31) // 32 * 4) * height)  # the alpha channel decides
        info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(pixels) + len(mask),
                           0, 0, 0, 0)
        images.append((width, height, info + pixels + mask))
    offset = 6 + 16 * len(images)
    head = struct.pack("<HHH", 0, 1, len(images))
    body = b""
    for width, height, data in images:
        head += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    with open(path, "wb") as f:
        f.write(head + body)


def main():
    res, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(res, "keychart.png"), os.path.join(out, "keychart.bmp"))
    write_bmp(os.path.join(res, "keychart@2x.png"), os.path.join(out, "keychart2x.bmp"))
    write_ico([os.path.join(res, "mirawen-%d.png" % size) for size in (64, 48, 32, 16)],
              os.path.join(out, "mirawen.ico"))


main()
