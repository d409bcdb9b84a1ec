#!/usr/bin/env bash
# Regenerates data/EnglishWL.txt from Debian's scowl package (SCOWL).
# Not run by the build: the list is committed; this records where it came from.
#   apt-get install scowl && tools/make-wordlist.sh
# Debian only: it reads the scowl package's files and asks dpkg-query for its
# version.
#
# What it does, in order:
#   1. takes SCOWL's common "words" lists in every spelling variety;
#   2. folds accented entries to plain letters (cafe from café);
#   3. keeps plain lowercase a to z entries, minus stray letters.
# It reports on stderr what step 2 added, so a new SCOWL can be reviewed from
# the output. The same inputs give the same bytes.
set -euo pipefail
src=/usr/share/dict/scowl
out="$(dirname "$0")/../data"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

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

# Debian ships these files in UTF-8. Accented words (café, cliché, fiancée)
# are how SCOWL spells them, but people type them plain, and the grid only has
# a to z. iconv transliterates only under a UTF-8 locale; C.UTF-8 is built
# into Debian's glibc and has no per-language rules (no "ä" to "ae"), so
# the result does not depend on the caller's locale. Anywhere it is missing
# iconv would write "?" and the words would silently go, so stop instead.
unaccent() { LC_ALL=C.UTF-8 iconv -f UTF-8 -t ASCII//TRANSLIT; }
if [ "$(printf 'caf\303\251 sm\303\266rg\303\245sbord\n' | unaccent)" != "cafe smorgasbord" ]; then
  echo "iconv cannot transliterate under C.UTF-8; no list written" >&2
  exit 1
fi

# Plain lowercase a to z entries only: the grid has nothing else to spell.
# Folding runs first, so its results pass the same filters; possessives such
# as "café's" still go on their apostrophe.
# Single letters other than "a" and "i" go: SCOWL lists every letter as a word,
# and each would be "found" on almost every grid.
# Letter plurals ("cs", "rs") go for the same reason; "as", "is" and "us" are
# real words and stay.
# LC_ALL=C: byte order and no locale-dependent ranges, so every run gives the
# same file.
plain() {
  LC_ALL=C grep -E '^[a-z]+$' |
    LC_ALL=C grep -v -E '^[b-hj-z]$' |
    LC_ALL=C grep -v -E '^[b-hj-tv-z]s$' |
    LC_ALL=C sort -u
}
cat "${sources[@]}" | unaccent | plain > "$tmp/all"
# Only for the report: the same entries unfolded show which plain spellings
# the folding added.
cat "${sources[@]}" | plain > "$tmp/unfolded"

cp "$tmp/all" "$out/EnglishWL.txt"

# The notice is SCOWL's own copyright, sources and credits section.
{
  echo "EnglishWL.txt is made from SCOWL (Spell Checker Oriented Word Lists) $(dpkg-query -W -f='${Version}' scowl | sed 's/-[^-]*$//'),"
  echo "by Kevin Atkinson. Its copyright and permission notice, from SCOWL's README:"
  echo
  zcat /usr/share/doc/scowl/README.gz | sed -n '/^COPYRIGHT, SOURCES, and CREDITS:$/,/^FUTURE PLANS:$/p' | sed '$d'
} > "$out/EnglishWL.copyright.txt"

{
  echo "plain spellings added by folding ($(LC_ALL=C comm -23 "$tmp/all" "$tmp/unfolded" | wc -l)):"
  LC_ALL=C comm -23 "$tmp/all" "$tmp/unfolded" | fmt -w 78 | sed 's/^/  /'
} >&2
echo "wrote $(wc -l < "$out/EnglishWL.txt") words from scowl $(dpkg-query -W -f='${Version}' scowl)"
