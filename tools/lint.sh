#!/usr/bin/env bash
# Fails on unformatted code and on any clang-tidy finding. Uses the check
# build's compile_commands.json, so it runs after that build.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(find app board dictionary wordtree tests bench -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${sources[@]}"
run-clang-tidy -quiet -j "$(nproc)" -p build/check "$(pwd)/(app|board|dictionary|wordtree|tests|bench)/" \
  > build/clang-tidy.log 2>&1 || { cat build/clang-tidy.log; echo "clang-tidy found problems"; exit 1; }
echo "lint: ${#sources[@]} files formatted, clang-tidy clean"
