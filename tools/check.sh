#!/usr/bin/env bash
# Builds and runs every check, stopping at the first failure, with warnings
# as errors: the check, sanitize and fuzz workflows (cmake --list-presets says
# what each runs), a clang and libc++ build run once on a pipe (Debian's
# GoogleTest is built for libstdc++, so no unit tests), and the lint.
# Written for bash 3.2 and BSD tools too, as macOS has them.
set -euo pipefail
cd "$(dirname "$0")/.."

# Builds and tests use every core the machine has.
cores="$(getconf _NPROCESSORS_ONLN)"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$cores}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$cores}"

for preset in check sanitize fuzz libcxx; do
  echo "== $preset"
  cmake --workflow --preset "$preset"
done
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
