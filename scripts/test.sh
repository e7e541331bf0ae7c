#!/usr/bin/env bash
# The whole test run: install what is missing, build every preset, run the native tests
# (plain and with sanitizers), run every fuzzer for a short while, run the Windows tests
# under Wine (the installer's among them), check the i686 build and list what the shipped
# files import.
# Stops at the first failing step and exits non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

step() { printf '\n==== %s\n' "$*"; }

step "setup"
bash scripts/setup.sh

step "format"
bash scripts/check-format.sh

for preset in native native-asan fuzz win64 win32; do
  step "build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

step "native tests"
ctest --preset native -j "$jobs"

step "native tests with AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset native-asan -j "$jobs"

step "fuzzers, 10 seconds each"
bash scripts/fuzz.sh all 10

step "Windows tests under Wine"
bash scripts/run-windows-tests.sh build/win64

step "i686 build check"
bash scripts/check-i686.sh build/win32

step "what the shipped files import"
bash scripts/list-imports.sh build/win32
bash scripts/list-imports.sh build/win64

step "all tests passed"
