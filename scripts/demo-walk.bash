# Plays the user of setup.exe on a virtual display with the default choices: it accepts the
# agreement, presses Next on every page and Finish on the last, answers Yes to questions (but No
# to restarting Windows) and OK to messages, waits while a progress window shows, and on the
# update-or-remove page clicks $DEMO_CHOICE (update or remove; remove when unset). It prints a
# line for every window it meets and, given a folder, keeps a picture of each window there.
#
# Anything else (a window that setup does not show, a window that stays a minute after it was
# answered, a page that will not move on, a setup that does not end) it reports with what it
# saw and a screenshot of the whole screen, then stops setup (its own process and the server of
# its own Wine prefix) and returns 1.
#
# Expects $build, $WINE and a WINEPREFIX of its own; sets DEMO_EXIT to setup's exit code.

demo_driver() {
  local out
  out=$($WINE "${UIDRIVER:-$build/tests/uidriver.exe}" "$@" 2>/dev/null)
  local status=$?
  printf '%s\n' "${out//$'\r'/}"
  return $status
}

demo_field() { printf '%s\n' "$1" | sed -n "s/^$2=//p" | head -1; }

# The driver's escapes (\n, \r, \\) as plain text on one line.
demo_plain() { printf '%s' "$1" | sed 's/\\\\/\x01/g; s/\\r//g; s/\\n/ /g; s/\x01/\\/g'; }

demo_slug() { demo_plain "$1" | tr 'A-Z' 'a-z' | sed 's/[^a-z0-9]\+/-/g; s/^-//' | cut -c1-60 | sed 's/-$//'; }

# A picture of one window (its screen rectangle) into the shots folder, when there is one.
demo_shot() {  # name rect
  [ -n "$DEMO_SHOTS" ] || return 0
  local l t r b
  IFS=, read -r l t r b <<< "$2"
  import -window root "$DEMO_SHOTS/.screen.png" &&
    convert "$DEMO_SHOTS/.screen.png" -crop $((r - l))x$((b - t))+$l+$t +repage -strip "$DEMO_SHOTS/$1.png"
  rm -f "$DEMO_SHOTS/.screen.png"
}

demo_unexpected() {  # what state
  echo "unexpected: $1"
  [ -z "$2" ] || printf '%s\n' "$2" | sed 's/^/  /'
  echo "  visible windows (handle, process, visible/enabled/minimised, class, title):"
  demo_driver windows - - | awk -F'\t' '$3 ~ /^1/' | sed 's/^/    /'
  local window
  window=$(demo_field "$2" window)
  if [ -n "$window" ] && [ "$window" != "0000000000000000" ]; then
    echo "  its visible controls (id, class, visible, enabled, text, rectangle):"
    demo_driver controls "$window" | awk -F'\t' '$3 == 1' | sed 's/^/    /'
  fi
  local picture=${DEMO_SHOTS:-$build}/unexpected.png
  import -window root "$picture" 2>/dev/null && echo "  screenshot: $picture"
  echo "stopping setup"
  kill "$DEMO_PID" 2>/dev/null
  wineserver -k >/dev/null 2>&1
}

# Acts on a sheet's current page: ticks the agreement, picks Update or Remove, or presses
# Finish or Next, whichever the page offers.
demo_page() {  # state
  local window page controls buttons
  window=$(demo_field "$1" window)
  page=$(demo_field "$1" page)
  controls=$(demo_driver controls "$page")
  if printf '%s\n' "$controls" | grep -q $'^102\tButton\t1\t1\t.*accept the terms'; then
    demo_driver check "$page" 102 1 >/dev/null
  fi
  if printf '%s\n' "$controls" | grep -q $'^106\tButton\t1\t1\t&Remove'; then
    if [ "${DEMO_CHOICE:-remove}" = update ]; then demo_driver click "$page" 105 >/dev/null
    else demo_driver click "$page" 106 >/dev/null; fi
    return 0
  fi
  buttons=$(demo_field "$(demo_driver look)" buttons)
  case " $buttons " in
    *" finish "*) demo_driver sheet "$window" finish >/dev/null ;;
    *" next "*) demo_driver sheet "$window" next >/dev/null ;;
    *) return 1 ;;
  esac
}

# Yes to a question (No when it offers to restart Windows), else OK.
demo_answer() {  # state
  local text buttons answer=1
  text=$(demo_field "$1" text)
  buttons=" $(demo_field "$1" buttons) "
  if [[ $buttons == *" 6 "* ]]; then
    answer=6
    [[ $text == *"restart Windows now"* ]] && answer=7
  fi
  demo_driver answer $answer 2000 >/dev/null
}

demo_walk() {  # media [shots]
  local -
  set +e
  DEMO_SHOTS=${2:-}
  DEMO_EXIT=""
  local limit=${DEMO_LIMIT:-600} started=$SECONDS since=$SECONDS last=none n=0
  local state kind key title what stuck=""
  local -A visits=()
  (cd "$1" && exec $WINE ./setup.exe) &
  DEMO_PID=$!
  while kill -0 "$DEMO_PID" 2>/dev/null; do
    if ! state=$(demo_driver look "$last" 2000); then
      kind=$(demo_field "$state" kind)
      # Copying a large media may keep a progress window up for long; nothing else should stay.
      local patience=60
      [ "$kind" = progress ] && patience=$limit
      if [ $((SECONDS - since)) -ge $patience ]; then
        stuck="the same window for $patience s"
        [ "$kind" = none ] && stuck="no window for $patience s"
      elif [ $((SECONDS - started)) -ge $limit ]; then
        stuck="setup did not end within $limit s"
      fi
      if [ -n "$stuck" ] && kill -0 "$DEMO_PID" 2>/dev/null; then
        demo_unexpected "$stuck" "$state"
        wait "$DEMO_PID"
        DEMO_EXIT=$?
        return 1
      fi
      continue
    fi
    kind=$(demo_field "$state" kind)
    key=$(demo_field "$state" key)
    title=$(demo_field "$state" title)
    last=$key
    since=$SECONDS
    visits[$key]=$(( ${visits[$key]:-0} + 1 ))
    what=""
    case $kind in
      none) continue ;;
      sheet)
        if [ "${visits[$key]}" -eq 1 ]; then
          n=$((n + 1))
          demo_shot "$(printf '%02d' $n)-page-$(demo_slug "$title")" "$(demo_field "$state" rect)"
          echo "page: $title"
        fi
        # A page that comes back after a message refused to move on; give it two more tries.
        if [ "${visits[$key]}" -gt 3 ]; then what="the page does not move on"
        elif ! demo_page "$state"; then what="a page with no button to go on"; fi ;;
      message)
        local text
        text=$(demo_plain "$(demo_field "$state" text)")
        n=$((n + 1))
        demo_shot "$(printf '%02d' $n)-message-$(demo_slug "$text")" "$(demo_field "$state" rect)"
        echo "message: $text"
        demo_answer "$state" || what="the message box could not be answered" ;;
      progress)
        # It goes away by itself: hold its thread still while it is pictured.
        if [ -n "$DEMO_SHOTS" ] && demo_driver freeze "$(demo_field "$state" window)" >/dev/null; then
          n=$((n + 1))
          demo_shot "$(printf '%02d' $n)-progress-$(demo_slug "$title")" "$(demo_field "$state" rect)"
          demo_driver thaw "$(demo_field "$state" window)" >/dev/null
        fi
        echo "progress: $title" ;;
      *) what="a window that setup does not show" ;;
    esac
    if [ -n "$what" ]; then
      demo_unexpected "$what" "$state"
      wait "$DEMO_PID"
      DEMO_EXIT=$?
      return 1
    fi
  done
  wait "$DEMO_PID"
  DEMO_EXIT=$?
  return 0
}
