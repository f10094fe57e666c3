#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file differs from the project's .clang-format
# (Debian's clang-format 14). `clang-format -i FILE` fixes one.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed" >&2; exit 1; }
bad=()
while IFS= read -r -d '' file; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#bad[@]} -ne 0 ]; then
  printf 'not formatted: %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "format: every C++ file follows .clang-format"
