#!/usr/bin/env bash
# Builds the release bundles into build/bundles: a tar.gz with the Linux
# program and a zip with the Windows one, each beside the word list.
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in release windows; do
  cmake --workflow --preset "$preset"
  cpack --config "build/$preset/CPackConfig.cmake" -B build/bundles
done
rm -rf build/bundles/_CPack_Packages
ls build/bundles
