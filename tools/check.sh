#!/usr/bin/env bash
# Builds and runs every check, stopping at the first failure; warnings are
# errors throughout:
#   check     optimised build: unit, end-to-end and terminal tests, memcheck
#             runs; it also cross-builds the Windows program and makes both
#             release bundles, which the end-to-end tests run (Windows under wine)
#   sanitize  the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz      the word-list loader under libFuzzer for a bounded time
#   lint      clang-format and clang-tidy
set -euo pipefail
cd "$(dirname "$0")/.."

# Builds and tests use every core the machine has.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"

for preset in check sanitize fuzz; do
  echo "== $preset"
  cmake --workflow --preset "$preset"
done

echo "== lint"
tools/lint.sh
echo "== all checks passed"
