#!/usr/bin/env bash
# Checks that every C++ source and header in the repository is formatted as .clang-format says;
# prints the places that drift and fails if there are any. With --fix, formats them in place.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mode=(--dry-run -Werror)
[ "${1:-}" = "--fix" ] && mode=(-i)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print)
fi
clang-format "${mode[@]}" "${files[@]}"
