#!/usr/bin/python3
"""Draw the pictures Mirawen shows:

    res/keychart.png     209 x 59 RGB: each phonetic symbol above the key
                         that types it in the TOPhonetic font
    res/keychart@2x.png  the same at twice the size, drawn anew (not
                         enlarged), for screens above 100 % scale
    res/mirawen-N.png    application icon, N x N RGBA, for N in ICON_SIZES:
                         16 and 32 in the program, all of them in the
                         desktop's icon theme (hicolor)

Needs Debian's python3-pil and fonts-dejavu-core.  Run from the repository
root:

    /usr/bin/python3 res/make_images.py

Output is reproducible: Pillow writes no timestamp chunk, and nothing here
depends on the time or on randomness.
"""

import os

from PIL import Image, ImageDraw, ImageFont

from keychart import key_chart

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SANS = os.path.join(FONT_DIR, "DejaVuSans.ttf")
SANS_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")

# (symbol, key) for each column of the chart.
CHART = [(symbol, key) for key, symbol in key_chart()]

ICON_SIZES = (16, 32, 48, 64, 128, 256)

# Shapes are drawn this many times larger and scaled down, which gives
# smooth rounded corners; text is drawn at the final size so FreeType's
# hinting keeps it sharp.
SUPERSAMPLE = 4


def smooth_shapes(size, mode, background, draw_fn):
    """Draw with draw_fn(draw, scale) at SUPERSAMPLE times the size, then
    shrink with a box filter."""
    w, h = size
    big = Image.new(mode, (w * SUPERSAMPLE, h * SUPERSAMPLE), background)
    draw_fn(ImageDraw.Draw(big), SUPERSAMPLE)
    return big.reduce(SUPERSAMPLE)


def centred_text(draw, font, text, cx, cy, fill):
    """Put the ink of text centred on (cx, cy), snapped to whole pixels."""
    x0, y0, x1, y1 = font.getbbox(text)
    x = round(cx - (x0 + x1) / 2)
    y = round(cy - (y0 + y1) / 2)
    draw.text((x, y), text, font=font, fill=fill)


def keychart(scale=1):
    """The chart at 209 x 59 pixels times scale; each size is drawn anew, so
    that the text is hinted for it."""
    width, height = 209 * scale, 59 * scale
    column = width // len(CHART)  # 19 px; 11 columns fill the width exactly
    cap_top, cap_bottom = 37 * scale, 57 * scale  # keycaps, y range (exclusive bottom)

    def caps(draw, s):
        for i in range(len(CHART)):
            left = i * column + scale
            draw.rounded_rectangle(
                [left * s, cap_top * s,
                 (left + column - 2 * scale) * s - 1, cap_bottom * s - 1],
                radius=3 * scale * s, fill=(236, 236, 236),
                outline=(150, 150, 150), width=scale * s)

    image = smooth_shapes((width, height), "RGB", (255, 255, 255), caps)
    draw = ImageDraw.Draw(image)

    symbol_font = ImageFont.truetype(SANS, 18 * scale)
    key_font = ImageFont.truetype(SANS, 11 * scale)

    # All symbols share one baseline, placed so that the tallest ascender
    # and the deepest descender among them are centred above the keycaps.
    boxes = [symbol_font.getbbox(symbol) for symbol, _ in CHART]
    top = min(b[1] for b in boxes)
    bottom = max(b[3] for b in boxes)
    y = round((cap_top - scale - (bottom - top)) / 2) - top

    for i, (symbol, key) in enumerate(CHART):
        cx = i * column + (column - scale) / 2
        x0, _, x1, _ = symbol_font.getbbox(symbol)
        draw.text((round(cx - (x0 + x1) / 2), y), symbol,
                  font=symbol_font, fill=(0, 0, 0))
        centred_text(draw, key_font, key, cx, (cap_top + cap_bottom - scale) / 2,
                     (40, 40, 40))
    return image


def icon(size):
    """A blue rounded square with a white schwa, the most common sound of
    English and the symbol most learners first meet in a dictionary."""
    def square(draw, s):
        radius = max(2, size // 5)
        draw.rounded_rectangle([0, 0, size * s - 1, size * s - 1],
                               radius=radius * s, fill=(30, 90, 170, 255),
                               outline=(18, 60, 120, 255), width=s)

    image = smooth_shapes((size, size), "RGBA", (0, 0, 0, 0), square)
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(SANS_BOLD, round(size * 1.05))
    centred_text(draw, font, "\u0259", (size - 1) / 2 + 0.5, (size - 1) / 2 + 0.5,
                 (255, 255, 255, 255))
    return image


def save(image, name):
    path = os.path.join(RES, name)
    image.save(path, "PNG", optimize=True)
    print("wrote %s (%dx%d %s)" % (os.path.relpath(path, ROOT),
                                   image.width, image.height, image.mode))


def main():
    os.makedirs(RES, exist_ok=True)
    save(keychart(), "keychart.png")
    save(keychart(2), "keychart@2x.png")
    for size in ICON_SIZES:
        save(icon(size), "mirawen-%d.png" % size)


if __name__ == "__main__":
    main()
