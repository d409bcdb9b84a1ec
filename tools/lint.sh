#!/usr/bin/env bash
# Fails on unformatted code and on any clang-tidy finding. Uses the check
# build's compile_commands.json, so it runs after that build. Written for
# bash 3.2 and BSD tools too, as macOS has them.
set -euo pipefail
cd "$(dirname "$0")/.."

sources=()
while IFS= read -r source; do
  sources+=("$source")
done < <(find app board dictionary wordtree terminal tests bench \( -name '*.cpp' -o -name '*.h' \) | sort)
clang-format --dry-run --Werror "${sources[@]}"
run-clang-tidy -quiet -j "$(getconf _NPROCESSORS_ONLN)" -p build/check "$(pwd)/(app|board|dictionary|wordtree|terminal|tests|bench)/" \
  > build/clang-tidy.log 2>&1 || { cat build/clang-tidy.log; echo "clang-tidy found problems"; exit 1; }
echo "lint: ${#sources[@]} files formatted, clang-tidy clean"
