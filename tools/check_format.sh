#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what .clang-format makes of it,
# and names the files. Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  echo "Nicht nach .clang-format formatiert (${#bad[@]} Dateien):"
  printf '  %s\n' "${bad[@]}"
  echo "Beheben: git ls-files '*.cpp' '*.h' | xargs clang-format -i"
  exit 1
fi
echo "Format: alle $(git ls-files '*.cpp' '*.h' | wc -l) C++-Dateien nach .clang-format."
