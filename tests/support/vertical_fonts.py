#!/usr/bin/python3
"""Writes two small Japanese fonts for the vertical text tests.

usage: /usr/bin/python3 vertical_fonts.py DIR
DIR/with-vert.ttf ("Vertical With") keeps IPAGothic's vertical forms;
DIR/without-vert.ttf ("Vertical Without") is the same subset without them.
"""
import os, sys
from fontTools.ttLib import TTFont
from fontTools import subset

OUT = os.path.abspath(sys.argv[1])
BASE = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
TEXT = "「」、。ーぁっァきのテスト縦書"
VERTICAL = {"vert", "vrt2"}


def features(font):
    if "GSUB" not in font:
        return set()
    return {record.FeatureTag for record in font["GSUB"].table.FeatureList.FeatureRecord}


os.makedirs(OUT, exist_ok=True)
for family, vertical, file in (("Vertical With", True, "with-vert.ttf"), ("Vertical Without", False, "without-vert.ttf")):
    font = TTFont(BASE)
    options = subset.Options()
    options.hinting = False
    kept = set(options.layout_features) | VERTICAL
    options.layout_features = sorted(kept if vertical else kept - VERTICAL)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=TEXT)
    subsetter.subset(font)
    name = font["name"]
    name.names = []
    name.setName(family, 1, 3, 1, 0x409)
    name.setName("Regular", 2, 3, 1, 0x409)
    name.setName(family + " Regular", 4, 3, 1, 0x409)
    name.setName(family.replace(" ", "") + "-Regular", 6, 3, 1, 0x409)
    # The tests are only worth anything if the subset kept or dropped the
    # vertical forms as asked.
    if bool(features(font) & VERTICAL) != vertical:
        sys.exit("%s: vertical forms %s" % (file, "lost" if vertical else "kept"))
    font.save(os.path.join(OUT, file))
