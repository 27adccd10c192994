#!/usr/bin/python3
"""Build res/TOPhonetic.ttf, the phonetic font Mirawen shows transcriptions in.

The font is DejaVu Sans, renamed and cut down to printable ASCII, with a few
keyboard characters drawn as IPA symbols so that transcriptions can be typed
on a plain keyboard:

    1 æ   2 ɑ   3 ɔ   4 ə   5 ʃ   6 ŋ   7 θ   8 ʌ   9 ʒ   0 ð   A ɛ
    ' ˈ (stress)   : ː (length)

Every other printable ASCII character looks as in DejaVu Sans.  The IPA
characters keep their own code points as well.  Also writes
res/LICENSE-DejaVu.txt, since the DejaVu licence travels with the font.

Needs Debian's python3-fonttools and fonts-dejavu-core.  Run from the
repository root:

    /usr/bin/python3 res/make_font.py

The output is byte-for-byte reproducible (fixed timestamps), so rebuilding
leaves git with nothing to commit unless fontTools or DejaVu changed.
"""

import os
import sys

from fontTools import subset
from fontTools.misc.timeTools import timestampFromString
from fontTools.ttLib import TTFont

from keychart import key_chart

SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(ROOT, "res", "TOPhonetic.ttf")
LICENSE = os.path.join(ROOT, "res", "LICENSE-DejaVu.txt")

FAMILY = "TOPhonetic"
VERSION = "1.000"
# Fixed so that a rebuild gives the same bytes.
TIMESTAMP = timestampFromString("Mon Jan  1 00:00:00 2024")

# Keyboard character -> phonetic symbol it is drawn as: the key chart, and
# the stress and length marks.
KEYS = dict(key_chart())
KEYS["'"] = "\u02c8"  # ˈ primary stress
KEYS[":"] = "\u02d0"  # ː length mark

ASCII = range(0x20, 0x7F)

DERIVATIVE_NOTE = (
    "TOPhonetic is a renamed derivative of DejaVu Sans (itself derived from "
    "Bitstream Vera), made for Mirawen: some ASCII characters are mapped to "
    "IPA glyphs and unused glyphs are removed. The original copyright and "
    "licence follow."
)


def remap_keys(font):
    """Point the keyboard characters at the glyphs of their IPA symbols."""
    best = font.getBestCmap()
    targets = {}
    for key, symbol in KEYS.items():
        glyph = best.get(ord(symbol))
        if glyph is None:
            sys.exit("source font has no glyph for U+%04X" % ord(symbol))
        targets[ord(key)] = glyph
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap.update(targets)


def cut_down(font):
    """Keep printable ASCII and the IPA symbols; hinting and kerning stay."""
    options = subset.Options()
    options.notdef_outline = True  # unknown characters show as a box
    # Keep glyph names: without them a reader names the glyph at '1' "one"
    # again, which hides what it draws.
    options.glyph_names = True
    options.name_IDs = ["*"]  # names are rewritten below anyway
    options.name_languages = ["*"]
    options.drop_tables += ["FFTM", "MATH"]  # FontForge timestamps, math layout
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=list(ASCII) + [ord(s) for s in KEYS.values()])
    subsetter.subset(font)


def licence_text(source):
    """DejaVu's licence as the source font carries it (Vera and Arev parts)."""
    record = source["name"].getName(13, 3, 1, 0x409)
    if record is None:
        sys.exit("source font has no licence description")
    return record.toUnicode().replace("\r\n", "\n").rstrip() + "\n"


def rename(font, licence):
    """Give the font its own names; DejaVu's licence forbids keeping 'Vera'
    in a modified font's name, and we drop the DejaVu names too so the two
    families never get confused.  The copyright and licence notices stay."""
    name = font["name"]
    copyright_notice = name.getName(0, 3, 1, 0x409).toUnicode().rstrip()
    name.names = []
    records = {
        0: copyright_notice,
        1: FAMILY,
        2: "Regular",
        3: "%s;%s-Regular" % (VERSION, FAMILY),
        4: FAMILY,
        5: "Version " + VERSION,
        6: FAMILY,
        13: DERIVATIVE_NOTE + "\n\n" + licence,
        16: FAMILY,
        17: "Regular",
    }
    for name_id, text in records.items():
        name.setName(text, name_id, 3, 1, 0x409)


def fix_header(font):
    head = font["head"]
    head.created = TIMESTAMP
    head.modified = TIMESTAMP
    head.fontRevision = float(VERSION)
    codes = sorted(font.getBestCmap())
    os2 = font["OS/2"]
    os2.usFirstCharIndex = codes[0]
    os2.usLastCharIndex = min(codes[-1], 0xFFFF)


def check(path):
    """Reload the written file and make sure it maps what we promised."""
    font = TTFont(path)
    assert font["name"].getDebugName(1) == FAMILY
    assert font["name"].getDebugName(6) == FAMILY
    for record in font["name"].names:
        if record.nameID not in (0, 13):
            text = record.toUnicode()
            for word in ("DejaVu", "Bitstream", "Vera", "Arev"):
                assert word not in text, (record.nameID, text)
    source = TTFont(SOURCE).getBestCmap()
    cmap = font.getBestCmap()
    for code in ASCII:
        char = chr(code)
        want = source[ord(KEYS.get(char, char))]
        assert cmap.get(code) == want, (char, cmap.get(code), want)
    for symbol in KEYS.values():
        assert cmap.get(ord(symbol)) == source[ord(symbol)], symbol


def main():
    source = TTFont(SOURCE)
    licence = licence_text(source)
    # recalcTimestamp=False keeps our fixed head.modified on save.
    font = TTFont(SOURCE, recalcTimestamp=False)
    remap_keys(font)
    cut_down(font)
    rename(font, licence)
    fix_header(font)

    os.makedirs(os.path.dirname(OUTPUT), exist_ok=True)
    font.save(OUTPUT, reorderTables=True)
    check(OUTPUT)

    with open(LICENSE, "w", encoding="utf-8", newline="\n") as out:
        out.write(DERIVATIVE_NOTE + "\n\n")
        out.write("Copyright notice of the DejaVu fonts:\n\n")
        out.write(source["name"].getName(0, 3, 1, 0x409).toUnicode().rstrip())
        out.write("\n\n")
        out.write(licence)

    print("wrote %s (%d bytes)" % (os.path.relpath(OUTPUT, ROOT),
                                   os.path.getsize(OUTPUT)))
    print("wrote %s" % os.path.relpath(LICENSE, ROOT))


if __name__ == "__main__":
    main()
