#!/usr/bin/env bash
# A TWAIN session through the platform's Data Source Manager with the reference data source.
# Wine 8's manager loads only twain_64\sane.ds and twain_64\gphoto2.ds, by those names, and
# never looks into sub-folders; in the test prefix its sane.ds is a placeholder that does not
# load. The installed source (twain_64\Quorvel\) is therefore put in that file's place
# for the session and the placeholder restored afterwards, whatever happens. Wine's manager
# also never gives a source its entry points, so no callback can go through it: a second run
# loads the installed source directly, the client playing a TWAIN 2 manager.
# Usage: check_twain_session.sh <wine loader> <twain_client.exe> <screenshot.bmp>
set -euo pipefail
wine=${1:?wine loader} client=${2:?client} shot=${3:?screenshot}
twain_dir=$("$wine" winepath.exe -u 'C:\windows\twain_64' </dev/null 2>/dev/null)
installed="$twain_dir/Quorvel/TWAIN_UI_Reference.ds"
[ -f "$installed" ] || { echo "twain session: $installed is not installed"; exit 1; }
backup=$(mktemp)
cp "$twain_dir/sane.ds" "$backup"
trap 'cp "$backup" "$twain_dir/sane.ds"; rm -f "$backup"' EXIT
cp "$installed" "$twain_dir/sane.ds"
"$wine" "$client" --shot "$shot"
"$wine" "$client" --direct
