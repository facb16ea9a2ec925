#!/usr/bin/python3
"""Writes one language's STRINGTABLE script from its catalogue (see catalogue.py), one
block per window. The script is compiled inside the language's generated Resource.rc, which
has set the UTF-8 code page and included ResourceIds.h.

Usage: make-string-table.py CATALOGUE.txt OUT.rc
"""
import pathlib
import sys

from catalogue import CatalogueError, Catalogue


def quoted(text):
    # Resource scripts read a backslash as an escape and a doubled quote as one quote.
    return '"' + text.replace("\\", "\\\\").replace('"', '""') + '"'


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    try:
        catalogue = Catalogue(argv[1])
    except CatalogueError as error:
        sys.exit(str(error))
    width = max(len(identifier) for identifier in catalogue.texts) + 1
    lines = [f"// Generated from resources/strings/{catalogue.path.name}: edit that file."]
    for window in catalogue.windows:
        lines += ["", f"// [{window}]", "STRINGTABLE", "BEGIN"]
        for identifier, text in catalogue.texts.items():
            if catalogue.window_of[identifier] == window:
                lines.append(f"    {identifier.ljust(width)}{quoted(text)}")
        lines.append("END")
    out = pathlib.Path(argv[2])
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main(sys.argv)
