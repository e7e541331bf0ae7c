#!/usr/bin/env bash
# Makes a fresh Wine prefix for one test run: a copy of a pristine prefix made once per build
# folder, so that nothing an earlier run installed or registered is left.
#   fresh-prefix.sh BUILD_DIR NAME   (the prefix is BUILD_DIR/NAME)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:?usage: fresh-prefix.sh BUILD_DIR NAME}")
name=${2:?name}
pristine=$build/install-prefix-pristine
bash "$here/wine-prefix.sh" "$pristine"
rm -rf "${build:?}/$name"
cp -a "$pristine" "$build/$name"
