#!/usr/bin/python3
"""Checks the string tables of every language against English: each string keeps exactly
the placeholders of the English one (%1 to %9, and %s for the few texts formatted with
one string argument, each as often), and no string uses another printf conversion, which
would read an argument by a type the library does not pass. A translation can then never
make the library read an argument it was not given.

Usage: check-placeholders.py STRINGS-FOLDER   (one subfolder of *.rc files per language)
Exits 1 and names every offending string when the tables disagree.
"""
import collections
import pathlib
import re
import sys

ENTRY = re.compile(r'^\s*(IDS_\w+)\s+L?"((?:[^"]|"")*)"', re.MULTILINE)
POSITION = re.compile(r"%([1-9]|s)")
# A percent sign that is neither a position nor an escaped percent sign. One that ends the
# text converts nothing: the zoom steps ("50 %") are shown as they stand.
STRAY = re.compile(r"%(?![1-9%s]|$)")


def table(folder):
    strings = {}
    for script in sorted(folder.glob("*.rc")):
        for name, text in ENTRY.findall(script.read_text(encoding="utf-8")):
            strings[name] = text
    return strings


def placeholders(text):
    return collections.Counter(POSITION.findall(text.replace("%%", "")))


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    root = pathlib.Path(argv[1])
    english = table(root / "en")
    if not english:
        sys.exit(f"{root / 'en'}: no strings found")
    problems = []
    for folder in sorted(p for p in root.iterdir() if p.is_dir()):
        for name, text in table(folder).items():
            if STRAY.search(text.replace("%%", "")):
                problems.append(f"{folder.name}/{name}: a % that is not %1..%9, %s or %%: {text}")
            if name in english and placeholders(text) != placeholders(english[name]):
                problems.append(f"{folder.name}/{name}: placeholders differ from English: {text}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
