#!/bin/sh
# Makes each configuration's artifacts again with cpack under umask 077, and
# checks: the build's bytes (a .deb's members, as its own take the umask),
# each in SHA256SUMS; folders and programs 0755, other files 0644; dynamic
# Linux programs hardened, bundles' ones static with the same marks and
# their README naming the kernel they need; Windows ones with ASLR and DEP.
# Usage: package_test.sh WORK BUNDLE_DIR CMAKE CPACK CONFIG...
set -eu
work=$1 bundles=$2 cmake=$3 cpack=$4
shift 4
rm -rf "$work"
mkdir -p "$work/unpacked"
umask 077
for config in "$@"; do
    "$cpack" --config "$config" -B "$work" >/dev/null
done

fail() { echo "$*"; failed=1; }
failed=0

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

(cd "$bundles" && sha256sum --check --quiet --strict SHA256SUMS) || failed=1
for package in "$work"/*.deb "$work"/*.tar.gz "$work"/*.zip "$work"/*.exe; do
    [ -f "$package" ] || continue
    name=$(basename "$package")
    if [ "${name%.deb}" = "$name" ]; then
        cmp "$package" "$bundles/$name" || failed=1
    elif ar tv "$bundles/$name" | grep -v '^rw-r--r--'; then
        fail "$bundles/$name: members not 0644"
    fi
    grep -q "^[0-9a-f]\{64\}  $name\$" "$bundles/SHA256SUMS" || fail "SHA256SUMS: no $name"
    folder=$work/unpacked/$name
    mkdir -p "$folder"
    case $package in
        *.exe) ;;  # the installer: installer_test.sh tries it under wine
        *.deb)
            for member in debian-binary control.tar.gz data.tar.gz; do
                [ "$(ar p "$package" $member | cksum)" = "$(ar p "$bundles/$name" $member | cksum)" ] ||
                    fail "$package: $member is not the build's"
            done
            dpkg-deb -c "$package" | modes "$package" || failed=1
            dpkg-deb -x "$package" "$folder"
            ;;
        *)
            "$cmake" -E tar tvf "$package" | modes "$package" || failed=1
            (cd "$folder" && "$cmake" -E tar xf "$package")
            ;;
    esac
done

# Build folders may have spaces in their names, but no line ends.
IFS='
'
for program in $(find "$work/unpacked" -type f \( -name wordgrid -o -name wordgrid.exe \)); do
    case $(head -c 4 "$program" | od -An -c | tr -d ' ') in
        177ELF)
            if readelf -lW "$program" | grep -q INTERP; then
                hardening-check --nofortify --nocfprotection "$program" || failed=1
                case $program in *-Linux-*.tar.gz/*) fail "$program: a bundle's program not static" ;; esac
                continue
            fi
            # hardening-check misreads a static program: its marks are read here.
            if readelf -dW "$program" | grep -q NEEDED; then fail "$program: needs a shared library"; fi
            readelf -hW "$program" | grep -q 'Type: *DYN' || fail "$program: not position independent"
            readelf -lW "$program" | grep -q GNU_RELRO || fail "$program: no read-only relocations"
            readelf -dW "$program" | grep -q BIND_NOW || fail "$program: not bound at start-up"
            if readelf -lW "$program" | grep -q 'GNU_STACK.*RWE'; then fail "$program: executable stack"; fi
            kernel=$(readelf -n "$program" | sed -n 's/.*OS: Linux, ABI: \([0-9]*\.[0-9]*\).*/\1/p')
            tr '\n' ' ' <"$(dirname "$program")/README.txt" | grep -q "Linux kernel $kernel or newer" ||
                fail "$program: its README does not name Linux $kernel, the kernel it needs"
            ;;
        MZ*)
            for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
                objdump -p "$program" | grep -qw "$flag" || fail "$program: no $flag"
            done
            ;;
    esac
done
exit $failed
