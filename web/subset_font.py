#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Cuts one of Debian's Liberation fonts down to the characters a German page needs and renames
it, for the browser build, which has no system fonts and carries its own.

The page needs Latin-1, Latin Extended-A and the common typographic punctuation; everything else
of the font (Greek, Cyrillic, symbols) is left out, which makes it a tenth of its size. The
glyph outlines, metrics, hinting and kerning of the characters kept are the font's own, so that
texts take exactly the room they take on the desktop with the whole font.

Liberation is licensed under the SIL Open Font License 1.1 with the Reserved Font Names
"Liberation", "Arimo", "Tinos" and "Cousine"; a modified version (and a subset is one) must not
carry them. So the result is named "Pendro Sans" or "Pendro Mono"; its copyright, trademark and
licence entries stay as they are.

Usage: subset_font.py <font.ttf> <family> <out.ttf>   e.g. LiberationSans-Bold.ttf "Pendro Sans"
"""
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

UNICODES = (
    list(range(0x20, 0x7F))  # ASCII
    + list(range(0xA0, 0x180))  # Latin-1 Supplement, Latin Extended-A
    + [0x2013, 0x2014, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E, 0x2022, 0x2026, 0x20AC,
       0x2212]  # dashes, German and English quotes, bullet, ellipsis, euro, minus
    + list(range(0x200B, 0x2010)) + list(range(0x202A, 0x202F))  # zero-width and direction marks
)

# The name table entries that carry the family's name; the others (copyright, trademark,
# designer, licence) are kept.
FAMILY, SUBFAMILY, UNIQUE_ID, FULL_NAME, VERSION, POSTSCRIPT_NAME = 1, 2, 3, 4, 5, 6
TYPOGRAPHIC_FAMILY, TYPOGRAPHIC_SUBFAMILY = 16, 17


def main(source, family, target):
    font = TTFont(source, recalcTimestamp=False)
    options = subset.Options()
    options.layout_features = ["*"]  # kerning and ligatures as in the whole font
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.hinting = True
    options.notdef_outline = True
    options.drop_tables += ["FFTM"]  # FontForge's time stamps
    options.recalc_timestamp = False  # the build is reproducible: the font's own time stays
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=UNICODES)
    subsetter.subset(font)

    names = font["name"]
    style = names.getDebugName(SUBFAMILY) or "Regular"
    full = family if style == "Regular" else f"{family} {style}"
    postscript = family.replace(" ", "") + ("" if style == "Regular" else "-" + style)
    renamed = {
        FAMILY: family,
        UNIQUE_ID: f"{full}; {names.getDebugName(VERSION)}",
        FULL_NAME: full,
        POSTSCRIPT_NAME: postscript,
    }
    for record in list(names.names):
        if record.nameID in renamed:
            record.string = renamed[record.nameID]
        elif record.nameID in (TYPOGRAPHIC_FAMILY, TYPOGRAPHIC_SUBFAMILY):
            names.removeNames(nameID=record.nameID)
    font.save(target)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__.split("Usage: ")[1])
    main(*sys.argv[1:])
