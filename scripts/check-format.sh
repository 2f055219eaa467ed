#!/usr/bin/env bash
# Checks that every C++ file is laid out as .clang-format says, changing nothing. Names the files
# that differ and fails; `make format` rewrites them.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is missing: run ./scripts/setup.sh" >&2; exit 2; }
bad=()
while IFS= read -r -d '' f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(find src tools tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "${#bad[@]}" -gt 0 ]; then
  echo "Not formatted (run: make format, or clang-format -i FILE):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "Formatting: every file matches .clang-format."
