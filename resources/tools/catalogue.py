"""Reads a language's string catalogue, the one file that holds every text of one language.

    # comment
    locale de_DE.UTF-8           the locale that shows this language (demo, screenshots)
    [window]                     the strings below are first shown in that window
    also IDS_CANCEL IDS_...      strings of other windows that this window shows too
    IDS_NAME    text             one string: identifier, blanks, the text to the end of line

The text is taken as written (UTF-8, no escapes, no quotes). Windows and their "also"
lines are read from English's catalogue: they say which texts share a window, and so
which access keys must differ. A translation repeats the window headers to stay readable.
"""
import pathlib
import re

IDENTIFIER = re.compile(r"IDS_[A-Z0-9_]+$")
SECTION = re.compile(r"\[([a-z][a-z0-9-]*)\]$")
LOCALE = re.compile(r"[a-z]{2,3}_[A-Z]{2}\.UTF-8$")


class CatalogueError(Exception):
    pass


class Catalogue:
    def __init__(self, path):
        self.path = pathlib.Path(path)
        self.folder = self.path.stem
        self.locale = None
        self.windows = []          # in file order
        self.texts = {}            # identifier -> text, in file order
        self.window_of = {}        # identifier -> window it is written under
        self.also = {}             # window -> identifiers of other windows shown there
        self._read()

    def _read(self):
        window = None
        lines = self.path.read_text(encoding="utf-8").splitlines()
        for number, line in enumerate(lines, 1):
            where = f"{self.path.name}:{number}"
            stripped = line.strip()
            if not stripped or stripped.startswith("#"):
                continue
            section = SECTION.match(stripped)
            if section:
                window = section.group(1)
                if window in self.windows:
                    raise CatalogueError(f"{where}: window [{window}] appears twice")
                self.windows.append(window)
                self.also[window] = []
                continue
            first, rest = (re.split(r"\s+", stripped, maxsplit=1) + [""])[:2]
            if first == "locale" and window is None:
                if self.locale is not None or not LOCALE.match(rest):
                    raise CatalogueError(f"{where}: one locale line, such as de_DE.UTF-8")
                self.locale = rest
                continue
            if window is None:
                raise CatalogueError(f"{where}: a string before the first [window]")
            if first == "also":
                self.also[window].extend(rest.split())
                continue
            if not IDENTIFIER.match(first):
                raise CatalogueError(f"{where}: expected an IDS_ identifier: {stripped}")
            text = rest.strip()
            if not text:
                raise CatalogueError(f"{where}: {first} has no text")
            if first in self.texts:
                raise CatalogueError(f"{where}: {first} appears twice")
            self.texts[first] = text
            self.window_of[first] = window

    def shown_in(self):
        """Each window with every identifier it shows, its own and its "also" ones."""
        shown = {window: [] for window in self.windows}
        for identifier, window in self.window_of.items():
            shown[window].append(identifier)
        for window, others in self.also.items():
            shown[window].extend(others)
        return shown


def catalogues(folder):
    return sorted((Catalogue(path) for path in pathlib.Path(folder).glob("*.txt")),
                  key=lambda catalogue: catalogue.folder)
