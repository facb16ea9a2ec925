#!/usr/bin/python3
"""Builds the resource font: one TrueType collection holding a free font's regular and bold
faces under the family name that the windows ask for, so that the face registered from the
resource library is the face every window draws with.

The glyphs are the authors' own. Renaming a face is a modification under the SIL Open Font
License: the copyright and licence records stay, and the names that the source font
reserves are replaced by the family name given here.

Usage: make-ui-font.py FAMILY REGULAR.ttf BOLD.ttf OUT.ttc
"""
import logging
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.ttCollection import TTCollection

# nameID: 1 family, 3 unique identifier, 4 full name, 6 PostScript name,
# 16 and 17 typographic family and subfamily.
FAMILY, UNIQUE, FULL, POSTSCRIPT, TYPO_FAMILY, TYPO_SUBFAMILY = 1, 3, 4, 6, 16, 17


def renamed(path, family, style):
    font = TTFont(path)
    names = font["name"]
    postscript = family.replace(" ", "") + "-" + style
    full = family if style == "Regular" else family + " " + style
    for record in list(names.names):
        if record.nameID in (TYPO_FAMILY, TYPO_SUBFAMILY):
            names.removeNames(nameID=record.nameID)
    for platform, encoding, language in {(r.platformID, r.platEncID, r.langID) for r in names.names}:
        for name_id, text in ((FAMILY, family), (UNIQUE, postscript), (FULL, full),
                              (POSTSCRIPT, postscript)):
            names.setName(text, name_id, platform, encoding, language)
    return font


def main(argv):
    # The source fonts carry a creation date that fontTools warns about; it is harmless.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    if len(argv) != 5:
        sys.exit(__doc__)
    family, regular, bold, out = argv[1:]
    collection = TTCollection()
    collection.fonts = [renamed(regular, family, "Regular"), renamed(bold, family, "Bold")]
    collection.save(out)


if __name__ == "__main__":
    main(sys.argv)
