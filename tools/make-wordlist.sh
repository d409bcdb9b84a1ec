#!/usr/bin/env bash
# Regenerates data/EnglishWL.txt from Debian's wamerican package (SCOWL).
# Not run by the build: the list is committed; this records where it came from.
#   apt-get install wamerican && tools/make-wordlist.sh
set -euo pipefail
src=/usr/share/dict/american-english
out="$(dirname "$0")/../data"

# Plain lowercase words only (no capitals, apostrophes or accents), LF line ends,
# byte-sorted. One-letter entries other than "a" and "i" are dropped: the word
# list has every letter as an entry, and each would be "found" on every grid.
LC_ALL=C grep -E '^[a-z]+$' "$src" | LC_ALL=C grep -v -E '^[b-hj-z]$' | LC_ALL=C sort -u > "$out/EnglishWL.txt"
cp /usr/share/doc/wamerican/copyright "$out/EnglishWL.copyright.txt"
echo "wrote $(wc -l < "$out/EnglishWL.txt") words from wamerican $(dpkg-query -W -f='${Version}' wamerican)"
