#!/bin/sh
# install: the Windows installer, silent, in a new wine prefix: the files in
# Program Files\wordgrid, where the Start-menu shortcut starts the program.
# uninstall: the uninstaller, silent, and a restart (which deletes its copy
# of itself) leave no file or registry key of it, but that copy's folder.
# Usage: installer_test.sh install|uninstall PREFIX WINE WINESERVER INSTALLER
set -eu
wine=$3 wineserver=$4
# The menu builder would write the shortcut into the host's ~/.local.
export WINEPREFIX="$2" WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
run() { "$wine" "$@" && "$wineserver" -w; }
files() { (cd "$WINEPREFIX/drive_c" && find . | grep -v '/Temp/~nsu[^/]*\.tmp$' | sort); }
folder="$WINEPREFIX/drive_c/Program Files/wordgrid"
if [ "$1" = install ]; then
    rm -rf "$WINEPREFIX"
    run wineboot -i
    files >"$WINEPREFIX/files-before"
    run "$5" /S
    for file in wordgrid.exe EnglishWL.txt EnglishWL.copyright.txt README.txt LICENSE.txt; do
        [ -f "$folder/$file" ] || { echo "not installed: $file"; exit 1; }
    done
    # The shortcut's only UTF-16 string is its working folder.
    strings -e l "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/wordgrid/wordgrid.lnk" |
        grep -qx 'C:\\Program Files\\wordgrid' || { echo "the shortcut starts it elsewhere"; exit 1; }
else
    run "$folder/Uninstall.exe" /S
    run wineboot -r
    files | diff "$WINEPREFIX/files-before" -
    ! grep -F -e 'Uninstall\\wordgrid' -e 'wordgrid developers' -e 'Files\\wordgrid' "$WINEPREFIX"/*.reg
fi
