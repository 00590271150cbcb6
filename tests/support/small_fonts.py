#!/usr/bin/python3
"""Writes the small fonts the tests read, all from IPA Gothic.

usage: /usr/bin/python3 small_fonts.py DIR
- latin-box.ttf ("Latin Box") and latin-blank.ttf ("Latin Blank"): ASCII only,
  the missing glyph drawn as a box, and left blank;
- embed-N.ttf: "亜唖娃阿あ" and ASCII from IPA Gothic, the OS/2 table's fsType
  set to N (0, 2, 4, 8, and 0x0104: print and preview, no subsetting);
- no-os2.ttf: the same without an OS/2 table;
- with-vert.ttf and without-vert.ttf: 「」、。ー, small kana and a few kanji,
  with IPA Gothic's vertical forms (vert, vrt2) and without them;
- pair-sans.ttf ("Pair Sans") and pair-sans-condensed.ttf ("Pair Sans" and
  "Pair Sans Condensed", style Condensed): a family beside a companion that
  also carries its name, as DejaVu Sans and DejaVu Sans Condensed do;
- forms-jp90.ttf ("Forms Ninety") and forms-jp04.ttf ("Forms Four"): 辻 and 葛
  switched to other glyphs by jp90, and by jp04;
- pair-mincho.ttc: a collection of two faces, "Pair Mincho" Regular and Bold;
- cut.ttf: IPA Gothic cut after 3,000 bytes; garbage.ttf: bytes that are no font.
"""
import os, random, sys
from fontTools.ttLib import TTCollection, TTFont
from fontTools import subset
from fontTools.feaLib.builder import addOpenTypeFeaturesFromString

OUT = os.path.abspath(sys.argv[1])
BASE = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
KNOWN = "亜唖娃阿あ" + "".join(chr(c) for c in range(0x20, 0x7F))
os.makedirs(OUT, exist_ok=True)


VERTICAL = {"vert", "vrt2"}


def features(font):
    if "GSUB" not in font:
        return set()
    return {record.FeatureTag for record in font["GSUB"].table.FeatureList.FeatureRecord}


def known_subset(family, text=KNOWN, notdef_outline=False, vertical=True):
    font = TTFont(BASE)
    options = subset.Options()
    options.name_IDs, options.name_languages, options.hinting = ["*"], ["*"], False
    options.notdef_outline = notdef_outline
    kept = set(options.layout_features) | VERTICAL
    options.layout_features = sorted(kept if vertical else kept - VERTICAL)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    name = font["name"]
    name.names = []
    name.setName(family, 1, 3, 1, 0x409)
    name.setName("Regular", 2, 3, 1, 0x409)
    name.setName("Version 9.87", 5, 3, 1, 0x409)
    name.setName(family.replace(" ", "") + "-Regular", 6, 3, 1, 0x409)
    name.setName("A. Designer", 9, 3, 1, 0x409)
    return font


ASCII = "".join(chr(c) for c in range(0x20, 0x7F))
known_subset("Latin Box", ASCII, notdef_outline=True).save(os.path.join(OUT, "latin-box.ttf"))
known_subset("Latin Blank", ASCII).save(os.path.join(OUT, "latin-blank.ttf"))

VERTICAL_TEXT = "「」、。ーぁっァきのテスト縦書"
for family, vertical, file in (("Vertical With", True, "with-vert.ttf"), ("Vertical Without", False, "without-vert.ttf")):
    font = known_subset(family, VERTICAL_TEXT, vertical=vertical)
    # The vertical tests are only worth anything if the subset kept or
    # dropped the vertical forms as asked.
    if bool(features(font) & VERTICAL) != vertical:
        sys.exit("%s: vertical forms %s" % (file, "lost" if vertical else "kept"))
    font.save(os.path.join(OUT, file))

for fs_type in (0, 2, 4, 8, 0x0104):
    font = known_subset(f"Embed {fs_type}")
    font["OS/2"].fsType = fs_type
    font.save(os.path.join(OUT, f"embed-{fs_type}.ttf"))

font = known_subset("No OS2")
del font["OS/2"]
font.save(os.path.join(OUT, "no-os2.ttf"))

known_subset("Pair Sans").save(os.path.join(OUT, "pair-sans.ttf"))
font = known_subset("Pair Sans Condensed", ASCII)
name = font["name"]
name.setName("Pair Sans", 16, 3, 1, 0x409)
name.setName("Condensed", 17, 3, 1, 0x409)
font.save(os.path.join(OUT, "pair-sans-condensed.ttf"))

# Faces that switch glyph forms: 辻 and 葛 drawn another way under jp90 (a
# JIS2004 face) or jp04 (a JIS90 face); the other form is another kanji's
# glyph, enough to tell the two apart.
for tag, name in (("jp90", "Forms Ninety"), ("jp04", "Forms Four")):
    font = known_subset(name, "辻葛亜唖" + ASCII)
    cmap = font.getBestCmap()
    addOpenTypeFeaturesFromString(font, f"""
languagesystem DFLT dflt;
languagesystem hani dflt;
feature {tag} {{ sub {cmap[ord("辻")]} by {cmap[ord("亜")]}; sub {cmap[ord("葛")]} by {cmap[ord("唖")]}; }} {tag};
""")
    font.save(os.path.join(OUT, f"forms-{tag}.ttf"))

# A collection of two faces of one family, as the CJK collections come.
collection = TTCollection()
regular = known_subset("Pair Mincho", ASCII)
bold = known_subset("Pair Mincho", ASCII)
bold["name"].setName("Bold", 2, 3, 1, 0x409)
bold["name"].setName("Pair Mincho Bold", 4, 3, 1, 0x409)
bold["OS/2"].usWeightClass = 700
collection.fonts = [regular, bold]
collection.save(os.path.join(OUT, "pair-mincho.ttc"))

with open(BASE, "rb") as whole:
    head = whole.read(3000)
with open(os.path.join(OUT, "cut.ttf"), "wb") as cut:
    cut.write(head)
random.seed(7)
with open(os.path.join(OUT, "garbage.ttf"), "wb") as garbage:
    garbage.write(bytes(random.randrange(256) for _ in range(20000)))
