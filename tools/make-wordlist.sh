#!/usr/bin/env bash
# Regenerates data/EnglishWL.txt from Debian's scowl package (SCOWL).
# Not run by the build: the list is committed; this records where it came from.
#   apt-get install scowl && tools/make-wordlist.sh
set -euo pipefail
src=/usr/share/dict/scowl
out="$(dirname "$0")/../data"

# SCOWL keeps its categories apart. Only the "words" category is taken, so no
# abbreviations, proper names, upper-case words, contractions, Roman numerals
# or special lists; sizes 10 to 50, the common words that Debian's wamerican
# and wbritish are made of. "english" holds the words that every variety
# spells alike; the others add their own spellings (color, colour, colourize,
# center, centre), so that a player from any of them finds their words.
sources=()
for variety in english american british british_z canadian australian; do
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
# The notice is SCOWL's own copyright, sources and credits section.
{
  echo "EnglishWL.txt is made from SCOWL (Spell Checker Oriented Word Lists) $(dpkg-query -W -f='${Version}' scowl | sed 's/-[^-]*$//'),"
  echo "by Kevin Atkinson. Its copyright and permission notice, from SCOWL's README:"
  echo
  zcat /usr/share/doc/scowl/README.gz | sed -n '/^COPYRIGHT, SOURCES, and CREDITS:$/,/^FUTURE PLANS:$/p' | sed '$d'
} > "$out/EnglishWL.copyright.txt"
echo "wrote $(wc -l < "$out/EnglishWL.txt") words from scowl $(dpkg-query -W -f='${Version}' scowl)"
