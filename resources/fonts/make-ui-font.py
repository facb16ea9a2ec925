#!/usr/bin/python3
"""Builds the resource font: one TrueType collection with a regular and a bold face under
the family name that the windows ask for.

Usage: make-ui-font.py FAMILY REGULAR.ttf BOLD.ttf OUT.ttc

The faces come from an OFL font whose name is reserved, so a modified version must carry
another family name; the copyright and licence records stay as the authors wrote them.
"""
import logging
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.ttCollection import TTCollection

NAME_COPYRIGHT, NAME_FAMILY, NAME_STYLE, NAME_UNIQUE, NAME_FULL = 0, 1, 2, 3, 4
NAME_VERSION, NAME_POSTSCRIPT, NAME_TRADEMARK, NAME_DESCRIPTION = 5, 6, 7, 10
NAME_PREFERRED_FAMILY, NAME_PREFERRED_STYLE = 16, 17
KEPT = {NAME_COPYRIGHT, NAME_VERSION, 8, 9, 11, 12, 13, 14}


def renamed(path, family, style, bold):
    font = TTFont(path)
    table = font["name"]
    original = table.getDebugName(NAME_FULL)
    version = table.getDebugName(NAME_VERSION) or ""
    # Only the records that name the font change; authorship and licence stay.
    table.names = [r for r in table.names if r.nameID in KEPT]
    postscript = family.replace(" ", "") + "-" + style
    for name_id, text in (
        (NAME_FAMILY, family),
        (NAME_STYLE, style),
        (NAME_UNIQUE, f"{postscript};{version}"),
        (NAME_FULL, f"{family} {style}" if style != "Regular" else family),
        (NAME_POSTSCRIPT, postscript),
        (NAME_DESCRIPTION, f"Modified version of {original}: renamed under the SIL Open Font License 1.1."),
    ):
        table.setName(text, name_id, 3, 1, 0x409)
        table.setName(text, name_id, 1, 0, 0)
    os2 = font["OS/2"]
    os2.usWeightClass = 700 if bold else 400
    # fsSelection: bit 0 italic, bit 5 bold, bit 6 regular.
    os2.fsSelection = (os2.fsSelection & ~0b1100001) | (0b100000 if bold else 0b1000000)
    font["head"].macStyle = 1 if bold else 0
    return font


def main(argv):
    # The source fonts carry a creation date that fontTools warns about; it is harmless.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    if len(argv) != 5:
        sys.exit(__doc__)
    family, regular, bold, out = argv[1:]
    collection = TTCollection()
    collection.fonts = [renamed(regular, family, "Regular", False),
                        renamed(bold, family, "Bold", True)]
    collection.save(out)


if __name__ == "__main__":
    main(sys.argv)
