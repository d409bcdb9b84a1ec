#!/bin/sh
# Makes the packages again under umask 077, as a packager's account may have
# it, and checks what they hold: every folder and program 0755 and every
# other file 0644, and each Debian package clean for lintian; each Linux
# program position independent, stack protected, with read-only relocations
# bound at start-up; the Windows program with ASLR (64-bit) and DEP; and each
# Linux bundle's README naming the newest C library the program links against.
# Usage: package_test.sh CMAKE CPACK WORK GENERATORS CONFIG [GENERATORS CONFIG]...
# (GENERATORS: cpack's, separated by commas).
set -eu
cmake=$1 cpack=$2 work=$3
shift 3
rm -rf "$work"
mkdir -p "$work/unpacked"
umask 077
while [ $# -ge 2 ]; do
    "$cpack" -G "$(echo "$1" | tr , ';')" --config "$2" -B "$work" >/dev/null
    shift 2
done

failed=0
fail() {
    echo "$*"
    failed=1
}

# One line an entry, its mode first and its path last, as tar and dpkg-deb list them.
modes() {
    awk -v archive="$1" 'length($1) == 10 && $1 ~ /^[-d][-rwxsStT]+$/ {
        name = $NF
        sub(/\/$/, "", name)
        sub(/.*\//, "", name)
        want = "-rw-r--r--"
        if ($1 ~ /^d/) want = "drwxr-xr-x"
        else if (name == "wordgrid" || name == "wordgrid.exe") want = "-rwxr-xr-x"
        if ($1 != want) { print archive ": " $1 " " $NF ", not " want; bad = 1 }
        entries++
    }
    END { if (!entries) print archive ": no entries"; exit bad || !entries }'
}

for package in "$work"/*.deb "$work"/*.tar.gz "$work"/*.zip; do
    [ -f "$package" ] || continue
    case $package in
        *.deb)
            dpkg-deb -c "$package" | modes "$package" || failed=1
            lintian --fail-on error,warning "$package" || failed=1
            ;;
        *) "$cmake" -E tar tvf "$package" | modes "$package" || failed=1 ;;
    esac
    folder=$work/unpacked/$(basename "$package")
    mkdir -p "$folder"
    case $package in
        *.deb) dpkg-deb -x "$package" "$folder" ;;
        *) (cd "$folder" && "$cmake" -E tar xf "$package") ;;
    esac
done

# Build folders may have spaces in their names, but no line ends.
IFS='
'
for program in $(find "$work/unpacked" -type f \( -name wordgrid -o -name wordgrid.exe \)); do
    case $(head -c 4 "$program" | od -An -c | tr -d ' ') in
        177ELF)
            hardening-check --nofortify --nocfprotection "$program" || failed=1
            newest=$(readelf -W --version-info "$program" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -n 1)
            readme=$(dirname "$program")/README.txt
            if [ -f "$readme" ] && ! tr '\n' ' ' <"$readme" | grep -q "glibc ${newest#GLIBC_} or newer"; then
                fail "$readme: does not name ${newest#GLIBC_}, the newest C library that $program links against"
            fi
            ;;
        MZ*)
            for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
                objdump -p "$program" | grep -qw "$flag" || fail "$program: no $flag"
            done
            ;;
    esac
done
exit $failed
