#!/usr/bin/env bash
# Builds and runs every test suite: release, AddressSanitizer + UBSan, ThreadSanitizer
# (the threaded suites) and 32-bit x86.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in release asan tsan m32; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
if [ -x tools/fuzz_all.sh ]; then
  tools/fuzz_all.sh
fi
