#!/usr/bin/env bash
# Regenerates data/EnglishWL.txt from Debian's scowl package (SCOWL).
# Not run by the build: the list is committed; this records where it came from.
#   apt-get install scowl && tools/make-wordlist.sh
set -euo pipefail
src=/usr/share/dict/scowl
out="$(dirname "$0")/../data"

# SCOWL keeps its categories apart. Only the "words" category is taken, so no
# abbreviations, proper names, upper-case words, contractions, Roman numerals
# or special lists; English plus American spelling; sizes 10 to 50, the common
# words that Debian's wamerican is made of.
sources=()
for variety in english american; do
  for size in 10 20 35 40 50; do
    sources+=("$src/$variety-words.$size")
  done
done

# Plain lowercase a to z entries only: the grid has nothing else to spell.
# Single letters other than "a" and "i" go: SCOWL lists every letter as a word,
# and each would be "found" on almost every grid.
# Letter plurals ("cs", "rs") go for the same reason; "as", "is" and "us" are
# real words and stay.
# LC_ALL=C: byte order and no locale-dependent ranges, so every run gives the
# same file.
cat "${sources[@]}" |
  LC_ALL=C grep -E '^[a-z]+$' |
  LC_ALL=C grep -v -E '^[b-hj-z]$' |
  LC_ALL=C grep -v -E '^[b-hj-tv-z]s$' |
  LC_ALL=C sort -u > "$out/EnglishWL.txt"
cp /usr/share/doc/scowl/copyright "$out/EnglishWL.copyright.txt"
echo "wrote $(wc -l < "$out/EnglishWL.txt") words from scowl $(dpkg-query -W -f='${Version}' scowl)"
