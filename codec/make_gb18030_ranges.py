#!/usr/bin/python3
"""Write Gb18030Ranges.h: which characters GB18030 gives four-byte codes, as
the C library's iconv (the Linux codec) has them, so that the portable
four-byte part and the Linux codec write the same bytes. Both builds make it;
nothing of it is kept in the sources.

    python3 codec/make_gb18030_ranges.py OUTPUT

It asks the iconv program once, over every Unicode scalar value with a line
feed after each (no GB18030 code holds the byte 0x0A); what iconv cannot
encode it drops (-c), leaving an empty line.
"""

import subprocess
import sys


def linear(b):
    return (((b[0] - 0x81) * 10 + (b[1] - 0x30)) * 126 + (b[2] - 0x81)) * 10 + (b[3] - 0x30)


def encoded(code_points):
    text = "".join(chr(cp) + "\n" for cp in code_points).encode("utf-32-le")
    done = subprocess.run(["iconv", "-c", "-f", "UTF-32LE", "-t", "GB18030"], input=text,
                          stdout=subprocess.PIPE, check=False)
    codes = done.stdout.split(b"\n")[:-1]
    if len(codes) != len(code_points):
        sys.exit("make_gb18030_ranges: iconv gave %d codes for %d characters"
                 % (len(codes), len(code_points)))
    return codes


def main():
    scalars = [cp for cp in range(0x80, 0x110000) if not 0xD800 <= cp <= 0xDFFF]
    codes = encoded(scalars)
    runs = []  # [first, index, count]
    two_byte_above = []
    for cp, code in zip(scalars, codes):
        if cp >= 0x10000:
            if len(code) == 2:
                two_byte_above.append(cp)
            elif len(code) != 4 or linear(code) - linear(b"\x90\x30\x81\x30") != cp - 0x10000:
                sys.exit("make_gb18030_ranges: U+%X is not where GB18030 puts it" % cp)
            continue
        if len(code) != 4:
            continue
        index = linear(code)
        last = runs[-1] if runs else None
        if last and cp == last[0] + last[2] and index == last[1] + last[2]:
            last[2] += 1
        else:
            runs.append([cp, index, 1])

    def rows(table):
        return "".join("    {0x%04X, %d, %d},\n" % tuple(r) for r in table)

    by_index = sorted(runs, key=lambda r: r[1])
    above = "".join("    0x%X,\n" % cp for cp in two_byte_above)
    with open(sys.argv[1], "w", encoding="ascii") as out:
        out.write(
            "#pragma once\n\n"
            "// Made by codec/make_gb18030_ranges.py from iconv: do not edit.\n\n"
            "#include <cstdint>\n\n"
            "namespace codec::gb18030 {\n\n"
            "// Each run of four-byte codes for the Basic Multilingual Plane: its first\n"
            "// character, the linear index of its first code and how many it holds;\n"
            "// inside a run character and index go up by one together.\n"
            "struct Run {\n"
            "    std::uint16_t first;\n"
            "    std::uint16_t index;\n"
            "    std::uint16_t count;\n"
            "};\n\n"
            "// clang-format off\n"
            "inline constexpr Run kRunsByCharacter[] = {\n" + rows(runs) + "};\n\n"
            "inline constexpr Run kRunsByIndex[] = {\n" + rows(by_index) + "};\n\n"
            "// Characters above the plane whose code is two bytes, not four.\n"
            "inline constexpr char32_t kTwoByteAbovePlane[] = {\n" + above + "};\n"
            "// clang-format on\n\n"
            "} // namespace codec::gb18030\n")


main()
