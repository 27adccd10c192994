#!/usr/bin/python3
"""Write Gb18030Ranges.h: where GB18030's four-byte codes for the Basic
Multilingual Plane begin, as Python's own gb18030 codec has them. The Windows
build makes it; nothing of it is kept in the sources.

Windows has these in its code page 54936; Wine 8 has no such code page, and
the Windows codec falls back on code page 936 plus this table there.

    python3 tools/make_gb18030_ranges.py OUTPUT
"""

import os
import sys



def linear(b):
    return (((b[0] - 0x81) * 10 + (b[1] - 0x30)) * 126 + (b[2] - 0x81)) * 10 + (b[3] - 0x30)


def main():
    ranges = []
    last = None
    for cp in range(0x80, 0x10000):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        b = chr(cp).encode("gb18030")
        if len(b) != 4:
            continue
        index = linear(b)
        if not (last and cp == last[0] + 1 and index == last[1] + 1):
            ranges.append((cp, index))
        last = (cp, index)
    rows = "".join("    {0x%04X, %d},\n" % r for r in ranges)
    with open(sys.argv[1], "w", encoding="ascii") as out:
        out.write(
            "#pragma once\n\n"
            "// Made by tools/make_gb18030_ranges.py: do not edit.\n\n"
            "#include <cstdint>\n\n"
            "namespace codec {\n\n"
            "// Each run of GB18030's four-byte codes for the Basic Multilingual Plane:\n"
            "// its first character and the run's first linear index, where the four\n"
            "// bytes b0 b1 b2 b3 have the index ((b0-0x81)*10+b1-0x30)*1260+(b2-0x81)*10+b3-0x30.\n"
            "// Inside a run both go up by one together.\n"
            "struct Gb18030Range {\n"
            "    std::uint16_t first;\n"
            "    std::uint16_t index;\n"
            "};\n\n"
            "// clang-format off\n"
            "inline constexpr Gb18030Range kGb18030Ranges[] = {\n" + rows + "};\n"
            "// clang-format on\n\n"
            "// The index of U+FFFF, the last four-byte code of the plane.\n"
            "inline constexpr std::uint16_t kGb18030LastBmpIndex = %d;\n\n"
            "} // namespace codec\n" % linear(chr(0xFFFF).encode("gb18030")))


main()
