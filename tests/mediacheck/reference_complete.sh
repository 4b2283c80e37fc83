#!/usr/bin/env bash
# Every section and key that the code passes to the script reader is known to the media checker
# and listed in docs/setup-ini.md (a "### [Section]" heading, and the key in backticks before the
# next heading), and the checker knows no key that the code does not read.
#   reference_complete.sh MEDIACHECK
set -u
checker=$1 root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

code=$(python3 "$root/scripts/script-keys.py" "$root/src") || { echo "FAIL: scripts/script-keys.py"; exit 1; }
[ -n "$code" ] || fail "no reads found in the code"
grep '^?' <<< "$code" | while IFS=$'\t' read -r _ place; do echo "FAIL: cannot tell the section read at $place"; done
grep -q '^?' <<< "$code" && failures=$((failures + 1))
known=$("$checker" --keys)
difference=$(diff <(sort <<< "$code") <(sort <<< "$known")) || fail $'the checker\'s table (>) and the code (<) differ:\n'"$difference"

while IFS=$'\t' read -r section key; do
  awk -v heading="### [$section]" -v key="\`$key\`" '
    index($0, "### ") == 1 { inside = $0 == heading; if (inside) found = 1; next }
    inside && (key == "`*`" || index($0, key)) { listed = 1 }
    END { exit !(found && listed) }' "$root/docs/setup-ini.md" || fail "docs/setup-ini.md does not list [$section] $key"
done <<< "$code"
[ "$failures" -eq 0 ] && echo "reference: all $(wc -l <<< "$code") sections and keys are listed"
[ "$failures" -eq 0 ]
