#!/usr/bin/env bash
# Fails when shellcheck finds anything in a tracked shell script (the *.sh files and every file
# that starts as a bash or sh script), and shows what. Sourced scripts are followed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts=()
while IFS= read -r f; do
  if [[ "$f" == *.sh ]] || head -n 1 "$f" | grep -q '^#!.*\bsh\b\|^#!.*bash'; then
    scripts+=("$f")
  fi
done < <(git ls-files)
shellcheck -x -P SCRIPTDIR "${scripts[@]}"
echo "Shell: alle ${#scripts[@]} Skripte ohne Befund von shellcheck."
