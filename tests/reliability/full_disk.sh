#!/usr/bin/env bash
# full_disk.sh BUILD_DIR TEST_PROGRAM [ARGS...]
# Mounts a small RAM disk, maps it to a drive letter of the build's Wine
# prefix and runs the full-disk test program on it. Mounting needs root (as
# CI has); without it the test is skipped (exit 77) and says why.
set -euo pipefail
build="$(cd "$1" && pwd)"
program="$2"
tools="$(cd "$(dirname "$0")/../../tools" && pwd)"
source "$tools/wine-env.sh" "$build"

letter=q:
mount_point="$(mktemp -d "${TMPDIR:-/tmp}/quorvane-full-disk.XXXXXX")"
link="$WINEPREFIX/dosdevices/$letter"

cleanup() {
  rm -f "$link"
  umount "$mount_point" 2>/dev/null || true
  rmdir "$mount_point" 2>/dev/null || true
}
trap cleanup EXIT

if ! mount -t tmpfs -o size=4m,mode=0777 quorvane-full-disk "$mount_point" 2>/dev/null; then
  echo "full_disk: skipped: cannot mount a tmpfs here (needs root); no full-disk figures from this run"
  exit 77
fi
if [ -e "$link" ] || [ -L "$link" ]; then
  echo "full_disk: drive $letter is already mapped in $WINEPREFIX" >&2
  exit 1
fi
ln -s "$mount_point" "$link"
QUORVANE_FULL_DISK="$letter" "$tools/wine-run" "$build" "$program" "${@:3}"
