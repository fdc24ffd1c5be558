#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format makes of it (.clang-format).
# Hand-laid tables are fenced with "// clang-format off" / "// clang-format on".
# With --fix, formats the files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v -e '^common/cp932/cp932_table.inc$' -e '/protocol/')
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run -Werror "${files[@]}"
fi
