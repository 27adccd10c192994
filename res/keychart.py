"""The key chart of the phonetic font, read from vocab/KeyChart.h, the one
place it is written down: the pictures and the font are made from the same
table as the programs' --ipa and the importer."""

import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def key_chart():
    """[(key, symbol)] in the order of the chart."""
    with open(os.path.join(ROOT, "vocab", "KeyChart.h"), encoding="utf-8") as header:
        rows = re.findall(r"\{'(.)', \"([^\"]+)\"\}", header.read())
    if len(rows) != 11:
        raise SystemExit("vocab/KeyChart.h: expected 11 keys, found %d" % len(rows))
    return rows
