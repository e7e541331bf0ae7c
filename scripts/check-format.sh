#!/usr/bin/env bash
# Every C++ file of the repository is in the house style (.clang-format). Lists the files that
# are not and exits non-zero; `clang-format -i FILE` puts one right.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "${#files[@]}" -eq 0 ]; then
  echo "format: no files"
  exit 1
fi
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ "${#bad[@]}" -gt 0 ]; then
  echo "format: not in the house style (clang-format -i):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format: ${#files[@]} files in the house style"
