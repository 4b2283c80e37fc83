# Shared Wine settings: sourced by the scripts that start Wine.
export WINEDEBUG=-all
# winemenubuilder would mirror every shortcut the tests make into the host's menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

# The wine binary: Debian's wine64 package installs it outside PATH on some versions.
if command -v wine64 >/dev/null 2>&1; then WINE=wine64
elif [ -x /usr/lib/wine/wine64 ]; then WINE=/usr/lib/wine/wine64
else WINE=wine
fi
export WINE

# Makes a new prefix at $1: booted once, with managed windows off so that Wine does not wait
# for a window manager each time a window is hidden.
make_wine_prefix() {
  local prefix=$1
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  WINEPREFIX=$prefix $WINE wineboot -i >/dev/null 2>&1 || true
  # Wine's own fonts (Tahoma, MS Sans Serif, Marlett): Debian's Wine does not find them where
  # fonts-wine puts them, and dialogs drawn with substitutes come out in other sizes.
  cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
  WINEPREFIX=$prefix $WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  WINEPREFIX=$prefix $WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1
  # A program that crashes ends at once instead of waiting in the debugger.
  WINEPREFIX=$prefix $WINE reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1
  # Wine links the user's Desktop, Documents and the like to the host's home folder; programs
  # under test must not write there, nor see each other's files through it.
  local link
  for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
  done
  # Drive R: is a folder of the prefix that Wine reports as a CD-ROM, for the tests of
  # removable media.
  mkdir -p "$prefix/cdrom"
  ln -sfn ../cdrom "$prefix/dosdevices/r:"
  WINEPREFIX=$prefix $WINE reg add 'HKLM\Software\Wine\Drives' /v r: /t REG_SZ /d cdrom /f >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
}

# Copies the template prefix to $2 (its server is not running, so the copy is consistent).
# The system folder (most of a prefix's 700 MB) is never written by the programs under test,
# so it is linked rather than copied.
copy_wine_prefix() {
  rm -rf "$2"
  mkdir -p "$2"
  tar -C "$1" --exclude=./drive_c/windows/system32 -cf - . | tar -C "$2" -xf -
  cp -al "$1/drive_c/windows/system32" "$2/drive_c/windows/system32"
}

# Starts Xvfb on a free display unless $DISPLAY already works; sets XVFB_PID when it did.
XVFB_PID=""
start_xvfb() {
  local force=${1:-}
  if [ -z "$force" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    # A server in another root (a chroot) has no lock file here, but its abstract socket is
    # shared with this one, and a client would reach it there.
    grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    local i
    for i in $(seq 1 100); do
      # Our server must be the one answering: it dies when another took the display, but may
      # still be alive when the other one answers. The display's lock file names the winner.
      kill -0 "$XVFB_PID" 2>/dev/null || break
      if xdpyinfo >/dev/null 2>&1; then
        [ "$(tr -dc 0-9 < "/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ] && return 0
        break
      fi
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=""
}
