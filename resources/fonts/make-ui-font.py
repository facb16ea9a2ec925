#!/usr/bin/python3
"""Builds the resource font: one TrueType collection holding a free font's regular and bold
faces under the family name that the windows ask for, so that the face registered from the
resource library is the face every window draws with.

The glyphs are the authors' own. Renaming a face is a modification under the SIL Open Font
License: the copyright and licence records stay, and the names that the source font
reserves are replaced by the family name given here.

A language whose script the font lacks (Arabic, Hebrew) passes a free font of that script
as well: its glyphs, scaled to the UI font's units, are merged into each face, so one face
draws the whole window, Latin names and numbers included, in the right script. Merging is
a modification under the Open Font License of both fonts: each keeps its copyright record.

Usage: make-ui-font.py FAMILY REGULAR.ttf BOLD.ttf OUT.ttc [SCRIPT-REGULAR.ttf SCRIPT-BOLD.ttf]
"""
import os
import tempfile

import logging
import sys

from fontTools.merge import Merger
from fontTools.ttLib import TTFont
from fontTools.ttLib.scaleUpem import scale_upem
from fontTools.ttLib.ttCollection import TTCollection

# nameID: 1 family, 3 unique identifier, 4 full name, 6 PostScript name,
# 16 and 17 typographic family and subfamily.
COPYRIGHT, FAMILY, UNIQUE, FULL, POSTSCRIPT, TYPO_FAMILY, TYPO_SUBFAMILY = 0, 1, 3, 4, 6, 16, 17


def merged(path, script_path, folder):
    """The font at path with the glyphs of the script font added; the script font's
    copyright is appended to the font's own."""
    base = TTFont(path)
    script = TTFont(script_path)
    scale_upem(script, base["head"].unitsPerEm)
    scaled = os.path.join(folder, os.path.basename(script_path))
    script.save(scaled)
    font = Merger().merge([path, scaled])
    # The UI font's own line metrics, so that dialog units, and with them every window's
    # size, stay those of the other languages; the script faces fit inside them.
    for table, fields in (("hhea", ("ascent", "descent", "lineGap")),
                          ("OS/2", ("sTypoAscender", "sTypoDescender", "sTypoLineGap",
                                    "usWinAscent", "usWinDescent"))):
        for field in fields:
            setattr(font[table], field, getattr(base[table], field))
    notice = base["name"].getDebugName(COPYRIGHT) + " " + script["name"].getDebugName(COPYRIGHT)
    names = font["name"]
    for platform, encoding, language in {(r.platformID, r.platEncID, r.langID) for r in names.names}:
        names.setName(notice, COPYRIGHT, platform, encoding, language)
    return font


def renamed(font, family, style):
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
    if len(argv) not in (5, 7):
        sys.exit(__doc__)
    family, regular, bold, out = argv[1:5]
    with tempfile.TemporaryDirectory() as folder:
        if len(argv) == 7:
            faces = [merged(regular, argv[5], folder), merged(bold, argv[6], folder)]
        else:
            faces = [TTFont(regular), TTFont(bold)]
        collection = TTCollection()
        collection.fonts = [renamed(faces[0], family, "Regular"), renamed(faces[1], family, "Bold")]
        collection.save(out)


if __name__ == "__main__":
    main(sys.argv)
