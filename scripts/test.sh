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

build() {
  step "build $1"
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}
# The win64 preset's first configure builds the player control's decoding libraries for
# x86_64 (scripts/build-media-libs.sh; cached afterwards outside the build folders).
for preset in native native-asan fuzz win64; do build "$preset"; done

step "native tests"
ctest --preset native -j "$jobs"

step "native tests with AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset native-asan -j "$jobs"

step "fuzzers, 10 seconds each"
bash scripts/fuzz.sh all 10

step "Windows tests under Wine"
# The i686 decoding libraries build meanwhile, at the lowest priority: the Windows tests
# mostly wait on windows and servers, and keep the machine first.
mkdir -p build
nice -n 19 bash scripts/build-media-libs.sh i686 >build/media-libs-i686.log 2>&1 &
libraries=$!
bash scripts/run-windows-tests.sh build/win64
wait "$libraries" || { cat build/media-libs-i686.log; exit 1; }

build win32

step "i686 build check"
bash scripts/check-i686.sh build/win32

step "what the shipped files import"
bash scripts/list-imports.sh build/win32
bash scripts/list-imports.sh build/win64

step "all tests passed"
