# Runs setup.exe on a virtual display as a user would with the default choices: it accepts the
# agreement, presses Next on every page and Finish on the last, answers Yes to questions and
# OK to messages, and takes a screenshot of every page and message on the way.
# Expects $build and $WINE; sets DEMO_EXIT to setup's exit code.
demo_walk() {  # media shots
  local media=$1 shots=$2 uidriver=${UIDRIVER:-$build/tests/uidriver.exe}
  (cd "$media" && exec $WINE ./setup.exe) &
  local pid=$! n=0 last="" rounds=0
  while kill -0 "$pid" 2>/dev/null && [ $rounds -lt 120 ]; do
    rounds=$((rounds + 1))
    sleep 1
    local window title controls page
    window=$($WINE "$uidriver" windows "#32770" - 2>/dev/null | awk -F'\t' '$3 ~ /^1/ { print $1; exit }' | tr -d '\r')
    [ -n "$window" ] || continue
    title=$($WINE "$uidriver" text "$window" 0 2>/dev/null | tr -d '\r')
    controls=$($WINE "$uidriver" controls "$window" 2>/dev/null | tr -d '\r')
    page=$($WINE "$uidriver" page "$window" 2>/dev/null | tr -d '\r')
    if [ -z "$page" ] && printf '%s\n' "$controls" | grep -q $'^65535\t'; then
      # A message box: Yes when it asks, else OK.
      n=$((n + 1))
      import -window root "$shots/$(printf '%02d' $n)-message.png" 2>/dev/null || true
      echo "message: $(printf '%s\n' "$controls" | awk -F'\t' '$1 == 65535 { print $5 }')"
      if printf '%s\n' "$controls" | grep -q $'^6\t'; then $WINE "$uidriver" answer 6 2000 >/dev/null
      else $WINE "$uidriver" answer 1 2000 >/dev/null; fi
      last=""
      continue
    fi
    [ -n "$page" ] || continue
    local key="$window $page"
    if [ "$key" != "$last" ]; then
      n=$((n + 1))
      import -window root "$shots/$(printf '%02d' $n)-page.png" 2>/dev/null || true
      echo "page: $title"
      last=$key
    fi
    if $WINE "$uidriver" controls "$page" 2>/dev/null | grep -q $'^102\tButton.*accept the terms'; then
      $WINE "$uidriver" check "$page" 102 1 >/dev/null 2>&1 || true
    fi
    if printf '%s\n' "$controls" | grep -q $'^12325\tButton\t1\t1'; then
      $WINE "$uidriver" sheet "$window" finish >/dev/null 2>&1 || true
    else
      $WINE "$uidriver" sheet "$window" next >/dev/null 2>&1 || true
    fi
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "setup did not finish within two minutes; stopping it"
    kill "$pid" 2>/dev/null
  fi
  wait "$pid" && DEMO_EXIT=0 || DEMO_EXIT=$?
}
