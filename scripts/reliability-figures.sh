#!/usr/bin/env bash
# Puts the figures of the last reliability run into README.md as a Markdown table, between the
# markers <!-- reliability:begin --> and <!-- reliability:end --> (added in a "Reliability"
# section at the end when missing).
# Usage: scripts/reliability-figures.sh <x86_64 build folder>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: $0 <x86_64 build folder>}
figures="$build/bin/reliability-figures.txt"
readme="$root/README.md"
begin='<!-- reliability:begin -->'
end='<!-- reliability:end -->'

if [ ! -s "$figures" ]; then
  echo "no figures in $figures: run 'ctest -L reliability' in $build first" >&2
  exit 1
fi

# The latest value of each figure, in the order the figures first appeared.
table=$(awk '
  /^FIGURE / {
    line = substr($0, 8)
    # Names may hold ": " themselves; the value follows the last one.
    split_at = 0
    for (rest = line; (at = index(rest, ": ")) > 0; rest = substr(rest, at + 2)) split_at += at + (split_at ? 1 : 0)
    if (split_at == 0) next
    name = substr(line, 1, split_at - 1)
    value = substr(line, split_at + 2)
    gsub(/\|/, "\\|", name)
    gsub(/\|/, "\\|", value)
    gsub(/\r/, "", value)
    if (!(name in values)) order[++count] = name
    values[name] = value
  }
  END {
    print "| Figure | Value |"
    print "|---|---|"
    for (i = 1; i <= count; ++i) print "| " order[i] " | " values[order[i]] " |"
  }' "$figures")

touch "$readme"
if ! grep -qF "$begin" "$readme" || ! grep -qF "$end" "$readme"; then
  printf '\n## Reliability\n\n%s\n%s\n' "$begin" "$end" >> "$readme"
fi

stamp="Measured $(date -u +%Y-%m-%d) by \`ctest -L reliability\` under 64-bit Wine."
tmp=$(mktemp)
# The table goes through the environment: awk -v would eat its backslashes.
TABLE="$table" awk -v begin="$begin" -v end="$end" -v stamp="$stamp" '
  $0 == begin { print; print ""; print stamp; print ""; print ENVIRON["TABLE"]; print ""; skipping = 1; next }
  $0 == end { skipping = 0 }
  !skipping { print }' "$readme" > "$tmp"
cat "$tmp" > "$readme"
rm -f "$tmp"
echo "README.md: $(printf '%s\n' "$table" | tail -n +3 | wc -l) reliability figures"
