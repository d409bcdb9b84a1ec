#!/usr/bin/env bash
# Builds and runs every check, stopping at the first failure:
#   release   optimised build: unit, end-to-end and terminal tests, memcheck runs
#   sanitize  the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz      the word-list loader under libFuzzer for a bounded time
#   windows   the program cross-compiled with MinGW-w64 (build only)
#   lint      clang-format and clang-tidy
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in release sanitize fuzz windows; do
  echo "== $preset"
  cmake --workflow --preset "$preset"
done

echo "== lint"
tools/lint.sh
echo "== all checks passed"
