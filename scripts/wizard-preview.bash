# The install wizard alone on the example media, run by the tests' sheet runner (it prints the
# choices the wizard made). With a display it is interactive; without one, wizard_walk goes
# through the pages, accepting the agreement, and takes a screenshot of each.
# Expects $build and $WINE; sets WIZARD_RESULT to the runner's output.

wizard_preview() {  # media
  local media=$1
  cp "$build/tests/sheet_runner.exe" "$media/sheet_runner.exe"
  WIZARD_RESULT=$(cd "$media" && $WINE ./sheet_runner.exe install 1 | tr -d '\r')
}

wizard_walk() {  # media shots
  local media=$1 shots=$2 uidriver=${UIDRIVER:-$build/tests/uidriver.exe}
  cp "$build/tests/sheet_runner.exe" "$media/sheet_runner.exe"
  (cd "$media" && exec $WINE ./sheet_runner.exe install 1 > "$media/wizard-result.txt") &
  local pid=$! sheet="" n=0 i
  for i in $(seq 1 100); do
    sheet=$($WINE "$uidriver" windows "#32770" - | awk -F'\t' '$3 ~ /^1/ { print $1; exit }' || true)
    [ -n "$sheet" ] && break
    sleep 0.2
  done
  while kill -0 "$pid" 2>/dev/null && [ -n "$sheet" ] && [ $n -lt 10 ]; do
    sleep 1.5
    n=$((n + 1))
    local title page controls
    title=$($WINE "$uidriver" text "$sheet" 0 | tr -d '\r' || true)
    import -window root "$shots/wizard-$(printf '%02d' $n).png" 2>/dev/null || true
    echo "wizard page $n: ${title:-(no title)}"
    page=$($WINE "$uidriver" page "$sheet" | tr -d '\r' || true)
    if $WINE "$uidriver" controls "$page" | grep -q $'^102\tButton.*accept the terms'; then
      $WINE "$uidriver" check "$page" 102 1 || true
      sleep 0.5
    fi
    controls=$($WINE "$uidriver" controls "$sheet" | tr -d '\r' || true)
    if printf '%s\n' "$controls" | grep -q $'^12325\tButton\t1\t1'; then
      $WINE "$uidriver" sheet "$sheet" finish || true
      break
    fi
    $WINE "$uidriver" sheet "$sheet" next || true
    # The destination page asks before it creates a missing folder.
    $WINE "$uidriver" answer 6 1000 >/dev/null 2>&1 || true
  done
  wait "$pid" || true
  WIZARD_RESULT=$(tr -d '\r' < "$media/wizard-result.txt")
}
