#!/usr/bin/env bash
# Builds and runs every check, stopping at the first failure; warnings are
# errors throughout:
#   check     optimised build: unit, end-to-end and terminal tests, memcheck
#             runs; it also cross-builds the Windows and 64-bit ARM Linux
#             programs and makes the release bundles and Debian packages, which
#             the end-to-end tests run (Windows under wine, ARM under qemu-user)
#   linux-arm64  the unit, end-to-end and terminal tests cross-built for
#             64-bit ARM Linux, run under qemu-user
#   sanitize  the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz      the word-list loader under libFuzzer for a bounded time
#   libcxx    the program built by clang with LLVM's libc++, run once on a pipe
#             (Debian's GoogleTest is built for libstdc++, so no unit tests)
#   lint      clang-format and clang-tidy
# Written for bash 3.2 and BSD tools too, as macOS has them.
set -euo pipefail
cd "$(dirname "$0")/.."

# Builds and tests use every core the machine has.
cores="$(getconf _NPROCESSORS_ONLN)"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$cores}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$cores}"

for preset in check linux-arm64 sanitize fuzz; do
  echo "== $preset"
  cmake --workflow --preset "$preset"
done

echo "== libcxx"
cmake --workflow --preset libcxx
# The run's frame: the grid's three rows, two empty lines, the listing (which
# a grid may leave empty) and the prompt, with no line end on a pipe.
frame=$'^([a-z] ){3}\n([a-z] ){3}\n([a-z] ){3}\n\n\n([a-z]+ - )*\nPress any key to continue\\.\\.\\.$'
output="$(cd data && printf k | ../build/libcxx/app/wordgrid)"
if ! [[ $output =~ $frame ]]; then
  printf 'libc++ build: no grid, listing and prompt in its output:\n%s\n' "$output"
  exit 1
fi
echo "libc++ build: ran on the shipped list"

echo "== lint"
tools/lint.sh
echo "== all checks passed"
