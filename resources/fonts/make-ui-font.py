#!/usr/bin/python3
"""Builds the resource font: one TrueType collection holding a free font's regular and bold
faces exactly as their authors made them (names, copyright and licence records unchanged).

Usage: make-ui-font.py REGULAR.ttf BOLD.ttf OUT.ttc
"""
import logging
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.ttCollection import TTCollection


def main(argv):
    # The source fonts carry a creation date that fontTools warns about; it is harmless.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    if len(argv) != 4:
        sys.exit(__doc__)
    regular, bold, out = argv[1:]
    collection = TTCollection()
    collection.fonts = [TTFont(regular), TTFont(bold)]
    collection.save(out)


if __name__ == "__main__":
    main(sys.argv)
