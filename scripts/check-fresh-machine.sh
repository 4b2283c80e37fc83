#!/usr/bin/env bash
# Tries the README's two commands as a newcomer would, on a bare Debian 12 machine: a throwaway
# root made with mmdebstrap that holds only the base system plus git, cmake, make, g++ and
# python3, with a clone of the current commit in it. Inside it (chroot, with /proc, /sys and
# /dev mounted) it runs scripts/run-example.sh twice (install, then removal) and
# scripts/test.sh with CI=true, prints the last lines of each and their exit statuses, and
# removes the root whatever happens. Needs root and the Debian archive; takes ten minutes or
# more. Uncommitted changes are not part of the commit and so are not tried.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "check-fresh-machine.sh must run as root (it makes a chroot)" >&2; exit 1; }
if ! command -v mmdebstrap >/dev/null 2>&1; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends mmdebstrap
fi

commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain)" ]; then
  echo "note: the work tree has uncommitted changes; trying commit $commit without them"
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/fresh-machine.XXXXXX")
machine=$work/root
logs=${FRESH_LOG_DIR:-$root/build/fresh-machine}
mkdir -p "$logs"

# Processes still running in the root (a Wine server, a virtual display) keep its mounts
# busy: end them, by their process id, before unmounting.
cleanup() {
  set +e
  local pid
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$machine" ] && kill -9 "$pid" 2>/dev/null
  done
  local mount
  for mount in dev sys proc; do
    mountpoint -q "$machine/$mount" 2>/dev/null && umount -R "$machine/$mount" 2>/dev/null
    mountpoint -q "$machine/$mount" 2>/dev/null && umount -R -l "$machine/$mount"
  done
  # Never follow a mount that is still there into the host's /dev or /proc.
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

echo "Making a Debian 12 root in $machine..."
mmdebstrap --variant=minbase --include=git,cmake,make,g++,python3 bookworm "$machine" \
  > "$logs/mmdebstrap.log" 2>&1 || { tail -20 "$logs/mmdebstrap.log"; exit 1; }
git clone -q "$root" "$machine/root/project"
git -C "$machine/root/project" checkout -q --detach "$commit"
cp /etc/resolv.conf "$machine/etc/resolv.conf" 2>/dev/null || true

mount -t proc proc "$machine/proc"
mount -t sysfs sys "$machine/sys"
mount --rbind /dev "$machine/dev"
mount --make-rslave "$machine/dev"

# One command in the root, in a clean environment as a new login would have it.
inside() {  # log-name command [VAR=value...]
  local name=$1 command=$2
  shift 2
  chroot "$machine" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" \
    bash -c "cd /root/project && $command" > "$logs/$name.log" 2>&1
}

statuses=()
run() {  # title log-name command [VAR=value...]
  local title=$1
  shift
  echo
  echo "== $title: ${3:+${*:3} }$2"
  local status=0
  inside "$@" || status=$?
  tail -15 "$logs/$1.log"
  echo "-- exit status $status (whole output in $logs/$1.log)"
  statuses+=("$status  $title")
}

run "the demo, first run (install)" example-install scripts/run-example.sh
run "the demo, second run (removal)" example-removal scripts/run-example.sh
run "the tests" tests scripts/test.sh CI=true

echo
echo "Exit statuses on a fresh Debian 12 root, commit $commit:"
failed=0
for line in "${statuses[@]}"; do
  echo "  $line"
  [ "${line%% *}" = 0 ] || failed=1
done
exit $failed
