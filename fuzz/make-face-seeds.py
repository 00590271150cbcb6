#!/usr/bin/python3
"""Writes the face reader's seed files: tiny fonts in each format a font file
from outside may come in (TrueType, OpenType/CFF, a collection of two faces,
WOFF), with names, an OS/2 table, a cmap and a vertical feature.

usage: /usr/bin/python3 fuzz/make-face-seeds.py DIR
"""
import os, sys
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.ttLib import TTCollection, TTFont
from fontTools.feaLib.builder import addOpenTypeFeaturesFromString

OUT = sys.argv[1]
os.makedirs(OUT, exist_ok=True)
GLYPHS = [".notdef", "A", "uni3042", "uni3042.vert"]
CMAP = {0x41: "A", 0x3042: "uni3042"}


def square(pen):
    pen.moveTo((100, 0)); pen.lineTo((500, 0)); pen.lineTo((500, 700)); pen.lineTo((100, 700)); pen.closePath()


def build(family, style, cff):
    fb = FontBuilder(1000, isTTF=not cff)
    fb.setupGlyphOrder(GLYPHS)
    fb.setupCharacterMap(CMAP)
    if cff:
        charStrings = {}
        for name in GLYPHS:
            pen = T2CharStringPen(600, None)
            square(pen)
            charStrings[name] = pen.getCharString()
        fb.setupCFF(family.replace(" ", "") + "-" + style, {"FullName": family}, charStrings, {})
    else:
        glyphs = {}
        for name in GLYPHS:
            pen = TTGlyphPen(None)
            square(pen)
            glyphs[name] = pen.glyph()
        fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({name: (600, 100) for name in GLYPHS})
    fb.setupHorizontalHeader(ascent=880, descent=-120)
    fb.setupNameTable({"familyName": family, "styleName": style,
                       "version": "Version 1.000"})
    fb.setupOS2(sTypoAscender=880, usWinAscent=880, usWinDescent=120, fsType=0x0004, achVendID="GLYF")
    fb.setupPost()
    addOpenTypeFeaturesFromString(fb.font, "feature vert { sub uni3042 by uni3042.vert; } vert;")
    return fb.font


build("Seed Sans", "Regular", False).save(os.path.join(OUT, "seed.ttf"))

# A face that switches glyph forms and maps variation sequences: jp90 and
# a cmap format 14 subtable with a default and a non-default sequence.
forms = build("Seed Mincho", "Regular", False)
addOpenTypeFeaturesFromString(forms, "feature jp90 { sub uni3042 by uni3042.vert; } jp90;")
from fontTools.ttLib.tables._c_m_a_p import cmap_format_14
uvs = cmap_format_14(14)
uvs.platformID, uvs.platEncID, uvs.language = 0, 5, 0xFF
uvs.cmap = {}
uvs.uvsDict = {0xE0100: [(0x3042, None)], 0xE0101: [(0x3042, "uni3042.vert")], 0xFE00: [(0x41, None)]}
forms["cmap"].tables.append(uvs)
forms.save(os.path.join(OUT, "seed-forms.ttf"))
build("Seed Serif", "Bold", True).save(os.path.join(OUT, "seed.otf"))
collection = TTCollection()
collection.fonts = [build("Seed Sans", "Regular", False), build("Seed Sans", "Bold", False)]
collection.save(os.path.join(OUT, "seed.ttc"))
woff = build("Seed Sans", "Regular", False)
woff.flavor = "woff"
woff.save(os.path.join(OUT, "seed.woff"))
