#!/usr/bin/env bash
# Regenerates data/EnglishWL.txt from Debian's scowl package (SCOWL).
# Not run by the build: the list is committed; this records where it came from
# and what was taken out of it.
#   apt-get install scowl && tools/make-wordlist.sh
# Debian only: it reads the scowl package's files and asks dpkg-query for its
# version.
#
# What it does, in order:
#   1. takes SCOWL's common "words" lists in every spelling variety;
#   2. folds accented entries to plain letters (cafe from café);
#   3. keeps plain lowercase a to z entries, minus stray letters;
#   4. leaves out data/excluded-words.txt's words and their inflections;
#   5. checks that no common word (sizes 10 and 20) went without being named
#      in that file.
# It reports on stderr what steps 2 and 4 changed, so a new SCOWL or a new
# exclusion can be reviewed from the output. The same inputs give the same
# bytes.
set -euo pipefail
src=/usr/share/dict/scowl
out="$(dirname "$0")/../data"
excluded="$out/excluded-words.txt"
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

# The exclusion file: one word a line, "#" starts a comment (the reason),
# blank lines are allowed. A bare word goes with the forms made from it below;
# "=word" goes alone, for words whose regular forms are innocent words.
sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$excluded" > "$tmp/entries"
if LC_ALL=C grep -v -E '^=?[a-z]+$' "$tmp/entries" > "$tmp/bad"; then
  echo "$excluded: not a plain word: $(tr '\n' ' ' < "$tmp/bad")" >&2
  exit 1
fi
sed 's/^=//' "$tmp/entries" | LC_ALL=C sort -u > "$tmp/named"

# Inflections by rule, as "form base" pairs. The rules overshoot (gooker, squawer),
# which is harmless: only forms that are on the list are taken out, and the
# report names each one for review.
# A word named in the file counts as named even where a rule also reaches it.
LC_ALL=C awk '
  function add(f) { if (!(f in owner) || f == base) owner[f] = base }
  END { for (f in owner) print f, owner[f] }
  /^=/ { base = substr($0, 2); add(base); next }
  {
    base = $0; add(base)
    add(base "s"); add(base "ed"); add(base "ing")
    if (base ~ /(s|x|z|ch|sh|o)$/) add(base "es")
    add(base "er"); add(base "ers")
    if (base ~ /e$/) {
      stem = substr(base, 1, length(base) - 1)
      add(base "d"); add(base "r"); add(base "rs"); add(stem "ing")
    }
    if (base ~ /[^aeiou]y$/) {
      stem = substr(base, 1, length(base) - 1)
      add(stem "ies"); add(stem "ied"); add(stem "ier"); add(stem "iest")
    }
    # shit, shitting: one vowel before a final consonant doubles it.
    if (base ~ /(^|[^aeiou])[aeiou][b-df-hj-np-tvz]$/) {
      last = substr(base, length(base))
      add(base last "ed"); add(base last "ing")
      add(base last "er"); add(base last "ers")
    }
  }' "$tmp/entries" | LC_ALL=C sort > "$tmp/forms"

LC_ALL=C join "$tmp/all" "$tmp/forms" > "$tmp/removed"
cut -d' ' -f1 "$tmp/removed" | LC_ALL=C comm -23 "$tmp/all" - > "$tmp/list"

# Every common word that is not on the list must be named in the exclusion
# file itself, not only reached by an inflection rule: then no rule can take
# an everyday word out unseen. The shipped list is left as it was if not.
cat "$src"/{english,american,british}-words.{10,20} | unaccent | plain |
  LC_ALL=C comm -23 - "$tmp/list" |
  LC_ALL=C comm -23 - "$tmp/named" > "$tmp/lost"
if [ -s "$tmp/lost" ]; then
  echo "common words lost without being named in $excluded: $(tr '\n' ' ' < "$tmp/lost")" >&2
  exit 1
fi
cp "$tmp/list" "$out/EnglishWL.txt"

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
  echo "left out as named in $(basename "$excluded") ($(awk '$1 == $2' "$tmp/removed" | wc -l)):"
  awk '$1 == $2 { print $1 }' "$tmp/removed" | fmt -w 78 | sed 's/^/  /'
  echo "left out as inflections ($(awk '$1 != $2' "$tmp/removed" | wc -l)):"
  awk '$1 != $2 { print "  " $1 " (" $2 ")" }' "$tmp/removed"
  echo "no common word of sizes 10 and 20 lost unless named"
} >&2
echo "wrote $(wc -l < "$out/EnglishWL.txt") words from scowl $(dpkg-query -W -f='${Version}' scowl)"
