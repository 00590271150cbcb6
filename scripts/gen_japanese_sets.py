#!/usr/bin/python3
"""Writes the Japanese character sets and Unicode's blocks as C++ tables.

usage: /usr/bin/python3 gen_japanese_sets.py OUT.cpp
Reads Debian's data at build time, so the program needs none of it at run time:
- glibc's EUC-JP charmap (package locales): JIS X 0208 with its row and cell,
  and the JIS X 0201 katakana (half-width katakana);
- glibc's EUC-JISX0213 charmap: the symbols and kana JIS X 0213 adds beyond
  JIS X 0208 (plane 1, rows 1 to 13), with their row and cell;
- Unihan's kJIS0213 (package unicode-data): the JIS X 0213 kanji of levels 3
  and 4 (planes 1 and 2), with plane, row and cell;
- Unihan's kJoyoKanji and kJinmeiyoKanji: the jōyō and jinmeiyō kanji;
- Blocks.txt: Unicode's blocks.
"""
import bz2, gzip, re, sys

UNICODE = "/usr/share/unicode"
EUC_JP = "/usr/share/i18n/charmaps/EUC-JP.gz"
EUC_JISX0213 = "/usr/share/i18n/charmaps/EUC-JISX0213.gz"

def two_byte_entries(path):
    """A charmap's one-code-point, two-byte entries: (code point, lead, trail)."""
    with gzip.open(path, "rt", encoding="ascii", errors="replace") as charmap:
        for line in charmap:
            m = re.match(r"<U([0-9A-F]+)>\s+/x([0-9a-f]{2})/x([0-9a-f]{2})\s", line)
            if m:
                yield int(m.group(1), 16), int(m.group(2), 16), int(m.group(3), 16)

jis0208 = {}   # code point -> (row, cell)
halfwidth = []
for cp, lead, trail in two_byte_entries(EUC_JP):
    if lead == 0x8E:
        halfwidth.append(cp)
    elif 0xA1 <= lead <= 0xFE and 0xA1 <= trail <= 0xFE:
        jis0208.setdefault(cp, (lead - 0xA0, trail - 0xA0))

# The non-kanji JIS X 0213 adds: plane 1, rows 1 to 13, one code point each
# (a kana with a combining mark, written as two, is no single character).
# Added means at a place JIS X 0208 leaves empty: the two charmaps map a few
# of 0208's own places to other code points (1-1-29 ―), which are not new.
places0208 = set(jis0208.values())
nonkanji0213 = {}  # code point -> (row, cell)
for cp, lead, trail in two_byte_entries(EUC_JISX0213):
    place = (lead - 0xA0, trail - 0xA0)
    if 0xA1 <= lead <= 0xAD and 0xA1 <= trail <= 0xFE and place not in places0208:
        nonkanji0213.setdefault(cp, place)

jis0213 = {}   # code point -> (plane, row, cell), the kanji JIS X 0213 adds
joyo, jinmeiyo = [], []
with bz2.open(UNICODE + "/Unihan_OtherMappings.txt.bz2", "rt", encoding="utf-8") as unihan:
    for line in unihan:
        if line.startswith("#") or not line.strip():
            continue
        code, field, value = line.rstrip("\n").split("\t")
        cp = int(code[2:], 16)
        if field == "kJIS0213":
            plane, row, cell = (int(part) for part in value.split(","))
            jis0213[cp] = (plane, row, cell)
        elif field == "kJoyoKanji" and re.fullmatch(r"\d{4}", value):
            joyo.append(cp)
        elif field == "kJinmeiyoKanji" and re.match(r"\d{4}", value):
            jinmeiyo.append(cp)

blocks = []
with open(UNICODE + "/Blocks.txt", encoding="utf-8") as data:
    for line in data:
        m = re.match(r"([0-9A-F]+)\.\.([0-9A-F]+);\s*(.+)", line)
        if m:
            blocks.append((int(m.group(1), 16), int(m.group(2), 16), m.group(3).strip()))

def row_set(first, last):
    return sorted(cp for cp, (row, _) in jis0208.items() if first <= row <= last)

sets = [
    ("Kana", row_set(4, 5)),
    ("HalfWidthKana", sorted(halfwidth)),
    ("Jis0208NonKanji", row_set(1, 8)),
    ("Jis0208Level1", row_set(16, 47)),
    ("Jis0208Level2", row_set(48, 84)),
    ("Jis0213Level3", sorted(cp for cp, (plane, _, _) in jis0213.items() if plane == 1)),
    ("Jis0213Level4", sorted(cp for cp, (plane, _, _) in jis0213.items() if plane == 2)),
    ("Joyo", sorted(joyo)),
    ("Jinmeiyo", sorted(jinmeiyo)),
    ("Jis0213NonKanji", sorted(nonkanji0213)),
]

positions = {cp: (1, row, cell) for cp, (row, cell) in jis0208.items()}
for cp, place in jis0213.items():
    positions.setdefault(cp, place)
for cp, (row, cell) in nonkanji0213.items():
    positions.setdefault(cp, (1, row, cell))

out = []
out.append("// Made at build time by scripts/gen_japanese_sets.py from Debian's data; do not edit.")
out.append('#include "face/JapaneseSetsData.h"\n')
out.append("namespace japanese_data {\n")
for name, chars in sets:
    out.append(f"const char32_t {name}[] = {{")
    for i in range(0, len(chars), 12):
        out.append("    " + ", ".join(f"0x{c:X}" for c in chars[i:i + 12]) + ",")
    out.append("};")
    out.append(f"const std::size_t {name}Size = {len(chars)};\n")
out.append("const JisEntry JisPositions[] = {")
for cp in sorted(positions):
    plane, row, cell = positions[cp]
    out.append(f"    {{0x{cp:X}, {plane}, {row}, {cell}}},")
out.append("};")
out.append(f"const std::size_t JisPositionsSize = {len(positions)};\n")
out.append("const BlockEntry Blocks[] = {")
for first, last, name in blocks:
    out.append(f'    {{0x{first:X}, 0x{last:X}, "{name}"}},')
out.append("};")
out.append(f"const std::size_t BlocksSize = {len(blocks)};\n")
out.append("} // namespace japanese_data")
with open(sys.argv[1], "w", encoding="utf-8") as f:
    f.write("\n".join(out) + "\n")
print(", ".join(f"{name} {len(chars)}" for name, chars in sets))
