#!/usr/bin/python3
"""Writes two Latin-only fonts that lack every Japanese character.

usage: /usr/bin/python3 notdef_fonts.py DIR
DIR/latin-box.ttf ("Latin Box") draws its missing glyph as a box;
DIR/latin-blank.ttf ("Latin Blank") leaves it blank.
"""
import os, sys
from fontTools.ttLib import TTFont
from fontTools import subset

OUT = os.path.abspath(sys.argv[1])
BASE = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
os.makedirs(OUT, exist_ok=True)
for family, outline, file in (("Latin Box", True, "latin-box.ttf"), ("Latin Blank", False, "latin-blank.ttf")):
    font = TTFont(BASE)
    options = subset.Options()
    options.notdef_outline, options.hinting = outline, False
    options.name_IDs, options.name_languages = ["*"], ["*"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(chr(c) for c in range(0x20, 0x7F)))
    subsetter.subset(font)
    name = font["name"]
    name.names = []
    name.setName(family, 1, 3, 1, 0x409)
    name.setName("Regular", 2, 3, 1, 0x409)
    name.setName(family + " Regular", 4, 3, 1, 0x409)
    name.setName(family.replace(" ", "") + "-Regular", 6, 3, 1, 0x409)
    font.save(os.path.join(OUT, file))
