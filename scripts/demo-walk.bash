# Runs setup.exe on a virtual display and takes a screenshot of each new dialog it shows.
# Sets DEMO_EXIT to setup's exit code.
demo_walk() {
  local media=$1 shots=$2 uidriver=${UIDRIVER:-$build/tests/uidriver.exe}
  $WINE "$media/setup.exe" &
  local pid=$! n=0 last=""
  while kill -0 "$pid" 2>/dev/null; do
    local windows
    windows=$($WINE "$uidriver" windows "#32770" - 2>/dev/null | awk -F'\t' '$3 ~ /^1/' | head -1)
    if [ -n "$windows" ] && [ "$windows" != "$last" ]; then
      n=$((n + 1))
      import -window root "$shots/$(printf '%02d' $n)-window.png" 2>/dev/null || true
      echo "screenshot $n: $(echo "$windows" | cut -f5)"
      last=$windows
    fi
    sleep 0.3
  done
  wait "$pid" && DEMO_EXIT=0 || DEMO_EXIT=$?
}
