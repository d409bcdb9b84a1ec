#!/usr/bin/env bash
# Builds and runs every check, stopping at the first failure; warnings are
# errors throughout:
#   bundles        the release bundles (tools/make-bundles.sh), which the check build's
#                  end-to-end tests unpack and run, with the Windows program under wine
#   check          optimised build: unit, end-to-end and terminal tests, memcheck runs
#   sanitize       the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz           the word-list loader under libFuzzer for a bounded time
#   check-windows  the program cross-compiled with MinGW-w64 (build only)
#   lint           clang-format and clang-tidy
set -euo pipefail
cd "$(dirname "$0")/.."

# Builds and tests use every core the machine has.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"

echo "== bundles"
tools/make-bundles.sh
for preset in check sanitize fuzz check-windows; do
  echo "== $preset"
  cmake --workflow --preset "$preset"
done

echo "== lint"
tools/lint.sh
echo "== all checks passed"
