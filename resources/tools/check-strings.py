#!/usr/bin/python3
"""Checks every language's catalogue against English's before any library is built:

- each language names the locale that shows it, and no two languages name the same one;
- each language has exactly English's strings, each under the same window;
- each string keeps exactly the placeholders of the English one (%1 to %9, and %s for the
  few texts formatted with one string argument, each as often), and no string uses another
  printf conversion, which would read an argument by a type the library does not pass;
- a string has an access key (&x) where English has one and nowhere else, and no two
  strings shown in one window share a key, so every key still reaches its control.

Usage: check-strings.py CATALOGUE-FOLDER   (one <folder>.txt per language, en.txt among them)
Exits 1 and names every offending string when a catalogue disagrees.
"""
import collections
import pathlib
import re
import sys

from catalogue import CatalogueError, catalogues

POSITION = re.compile(r"%([1-9]|s)")
# A percent sign that is neither a position nor an escaped percent sign. One that ends the
# text converts nothing: the zoom steps ("50 %") are shown as they stand.
STRAY = re.compile(r"%(?![1-9%s]|$)")


def placeholders(text):
    return collections.Counter(POSITION.findall(text.replace("%%", "")))


def access_keys(text):
    """The characters that follow a single ampersand ("&&" shows one ampersand)."""
    keys = []
    index = 0
    while index < len(text):
        if text[index] == "&":
            if index + 1 < len(text) and text[index + 1] == "&":
                index += 2
                continue
            keys.append(text[index + 1] if index + 1 < len(text) else "")
        index += 1
    return keys


def check_language(language, english, problems):
    name = language.folder
    if language.locale is None:
        problems.append(f"{name}: no locale line")
    for identifier in english.texts:
        if identifier not in language.texts:
            problems.append(f"{name}: {identifier} is missing")
    for identifier, text in language.texts.items():
        if identifier not in english.texts:
            problems.append(f"{name}: {identifier} is not an English string")
            continue
        if language.window_of[identifier] != english.window_of[identifier]:
            problems.append(f"{name}: {identifier} is under [{language.window_of[identifier]}], "
                            f"English has it under [{english.window_of[identifier]}]")
        if STRAY.search(text.replace("%%", "")):
            problems.append(f"{name}: {identifier}: a % that is not %1..%9, %s or %%: {text}")
        if placeholders(text) != placeholders(english.texts[identifier]):
            problems.append(f"{name}: {identifier}: placeholders differ from English: {text}")
        keys = access_keys(text)
        if len(keys) > 1 or "" in keys:
            problems.append(f"{name}: {identifier}: one access key at most, after an &: {text}")
        elif len(keys) != len(access_keys(english.texts[identifier])):
            problems.append(f"{name}: {identifier}: an access key where English has "
                            f"{'one' if keys == [] else 'none'}: {text}")
    for window, shown in english.shown_in().items():
        owners = collections.defaultdict(list)
        for identifier in shown:
            for key in access_keys(language.texts.get(identifier, "")):
                if key:
                    owners[key.casefold()].append(identifier)
        for key, identifiers in sorted(owners.items()):
            if len(identifiers) > 1:
                problems.append(f"{name}: [{window}] access key '{key}' is shared by "
                                f"{' '.join(identifiers)}")


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    try:
        found = {catalogue.folder: catalogue for catalogue in catalogues(argv[1])}
    except CatalogueError as error:
        print(error, file=sys.stderr)
        return 1
    english = found.get("en")
    if english is None or not english.texts:
        print(f"{pathlib.Path(argv[1]) / 'en.txt'}: no English strings", file=sys.stderr)
        return 1
    problems = []
    for window, others in english.also.items():
        for identifier in others:
            if identifier not in english.texts:
                problems.append(f"en: [{window}] also shows {identifier}, which has no text")
    for language in found.values():
        check_language(language, english, problems)
    folders_of = collections.defaultdict(list)
    for language in found.values():
        if language.locale:
            folders_of[language.locale].append(language.folder)
    for locale, folders in sorted(folders_of.items()):
        if len(folders) > 1:
            problems.append(f"{' '.join(folders)}: one locale, {locale}, for two languages")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
