#!/usr/bin/env bash
# Checks that every folder of the program includes only folders on floors
# below its own (and itself), as the README draws them. Prints each offending
# include and exits non-zero when there is one.
#   scripts/check-floors.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
declare -A floor=(
  [base]=1
  [formats]=2 [settings]=2 [commands]=2
  [language]=3 [ui]=3
  [shortcuts]=4 [player]=4
  [editor]=5
  [app]=6
)
bad=0
for folder in "${!floor[@]}"; do
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%/*}
    [ -n "${floor[$target]:-}" ] || continue  # a system header or a file of the same folder
    if [ "$target" != "$folder" ] && [ "${floor[$target]}" -ge "${floor[$folder]}" ]; then
      echo "$file:$line: $folder (floor ${floor[$folder]}) includes $target (floor ${floor[$target]})"
      bad=1
    fi
  done < <(cd "$root" && grep -rnE '^\s*#\s*include\s+"[a-z_]+/' --include='*.h' --include='*.cpp' "$folder" || true)
done
[ "$bad" -eq 0 ] && echo "floors: every include goes down"
exit "$bad"
