#!/usr/bin/python3
"""Adds damaged and hostile fonts to a set made by gen_fonts.py.

usage: /usr/bin/python3 hostile_fonts.py DIR
DIR is the output folder of gen_fonts.py; the fonts go into DIR/fonts beside
the synthetic ones, and DIR/hostile.json tells the tests what was written:
for each file, what was done to it and the family name it carries (null when
the file carries no usable name).
"""
import io, json, os, random, struct, sys
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables.DefaultTable import DefaultTable

OUT = os.path.abspath(sys.argv[1])
FONTS = os.path.join(OUT, "fonts")
BASE = os.path.join(FONTS, "synth0000.ttf")

# 300 characters, starting with a letter so it lands in an index group.
LONG = ("Long Family " * 25)[:296] + " End"
assert len(LONG) == 300
# Control characters, a comma, a double quote, and characters code page 932
# has no place for (yen sign, wave dash U+301C, Hangul, an emoji, euro).
CONTROL = "Ctl\tTab\r\nCRLF\x07Bell\x1b, \"Quoted\" \u00a5\u301c\ud55c\U0001F600\u20ac End"


def renamed(family, style="Regular"):
    font = TTFont(BASE)
    name = font["name"]
    name.names = []
    name.setName(family, 1, 3, 1, 0x409)
    name.setName(style, 2, 3, 1, 0x409)
    name.setName(family + " " + style, 4, 3, 1, 0x409)
    name.setName("Hostile:Version 1.0", 3, 3, 1, 0x409)
    name.setName("Version 1.0", 5, 3, 1, 0x409)
    name.setName("HostileSynth-" + style, 6, 3, 1, 0x409)
    buf = io.BytesIO()
    font.save(buf)
    return buf.getvalue()


def raw_name_table(records):
    """A name table of (platform, encoding, language, name id, bytes) records."""
    heads, storage = b"", b""
    for platform, encoding, language, name_id, text in records:
        heads += struct.pack(">HHHHHH", platform, encoding, language, name_id, len(text), len(storage))
        storage += text
    return struct.pack(">HHH", 0, len(records), 6 + 12 * len(records)) + heads + storage


def with_name_table(table):
    font = TTFont(BASE)
    raw = DefaultTable("name")
    raw.data = table
    font["name"] = raw
    buf = io.BytesIO()
    font.save(buf)
    return buf.getvalue()


def glyf_offset(data):
    font = TTFont(io.BytesIO(data))
    entry = font.reader.tables["glyf"]
    return entry.offset, entry.length


def main():
    rnd = random.Random(932)
    written = []

    def write(file_name, data, fault, family):
        with open(os.path.join(FONTS, file_name), "wb") as fh:
            fh.write(data)
        written.append({"file": file_name, "fault": fault, "family": family})

    # Cut in the middle of the outlines: the tables after them (the names
    # among them) are gone, the table directory still promises them. The
    # font configuration lists such a file under its file name.
    whole = renamed("Truncated Synth")
    offset, length = glyf_offset(whole)
    write("Truncated Synth.ttf", whole[:offset + length // 2], "truncated", "Truncated Synth")

    write("Zero Synth.ttf", b"", "zero bytes", None)

    # Garbage where the names should be: random bytes in every record, a
    # NUL and a lone surrogate in the family; no usable family remains.
    garbage = []
    for platform, encoding, language, name_id in ((3, 1, 0x409, 1), (3, 1, 0x409, 2), (3, 1, 0x409, 4),
                                                   (1, 0, 0, 1), (3, 1, 0x411, 1), (3, 1, 0x409, 6)):
        text = bytes(rnd.randrange(256) for _ in range(rnd.randrange(4, 40)))
        if name_id == 1 and platform == 3:
            text = b"\x00\x00" + text + b"\xd8\x00"
        garbage.append((platform, encoding, language, name_id, text))
    write("Garbage Name Synth.ttf", with_name_table(raw_name_table(garbage)), "garbage name table",
          "Garbage Name Synth")

    # A family of random, valid characters: private use, combining marks,
    # right-to-left and format characters, unassigned code points.
    pool = ([0x202E, 0x200F, 0x200B, 0xFEFF, 0x0301, 0x0336, 0x05D0, 0x0627, 0xE000, 0xF8FF, 0x0378, 0x2028]
            + list(range(0x4E00, 0x4E10)))
    random_family = "G" + "".join(chr(rnd.choice(pool)) for _ in range(24))
    units = random_family.encode("utf-16-be")
    write("Garbage Chars Synth.ttf",
          with_name_table(raw_name_table([(3, 1, 0x409, 1, units), (3, 1, 0x409, 2, "Regular".encode("utf-16-be"))])),
          "random characters in the family name", random_family)

    write("Long Synth.ttf", renamed(LONG), "300-character family name", LONG)
    write("Control Synth.ttf", renamed(CONTROL), "control characters, comma, quote, not in code page 932",
          CONTROL)

    with open(os.path.join(OUT, "hostile.json"), "w", encoding="utf-8") as fh:
        json.dump(written, fh, ensure_ascii=True, indent=1)
    print(f"wrote {len(written)} damaged and hostile fonts to {FONTS}")


if __name__ == "__main__":
    main()
