#!/usr/bin/env bash
# Palomir under a real X server with a window manager (openbox), keys typed
# with xdotool: a described log opens its description list by itself once
# the window is active; the first Esc closes the list only, the second one
# the window.
#
#   xvfb_palomir_esc.sh [path/to/palomir]    exit 0 ok, 77 a tool missing
set -u

here=$(cd "$(dirname "$0")" && pwd)
PROGRAM=${1:-$here/../../../build/bin/palomir}
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$PROGRAM"
fi
for tool in xdotool openbox; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/palomir-esc-XXXXXX")
PID= WM=
cleanup() {
  [ -n "$PID" ] && kill -9 "$PID" 2>/dev/null
  [ -n "$WM" ] && kill "$WM" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  echo "--- program output:"; cat "$WORK/stderr" 2>/dev/null
  exit 1
}

openbox >/dev/null 2>&1 &
WM=$!
sleep 1

mkdir -p "$WORK/config" "$WORK/data"
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export VEKTRANO_MESSAGES=stderr QT_QPA_PLATFORM=xcb
LOG=$WORK/expedice.qvl
cp "$here/../data/expedice.qvl" "$LOG"

"$PROGRAM" "$LOG" 2>"$WORK/stderr" &
PID=$!
WID=$(timeout 20 xdotool search --sync --onlyvisible --pid "$PID" 2>/dev/null | head -1)
[ -n "$WID" ] || fail "no window of the program"
xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"

# The list is a window of its own beside the main one while it is open.
windows() { xdotool search --onlyvisible --pid "$PID" 2>/dev/null | wc -l; }
for _ in $(seq 1 50); do
  [ "$(windows)" -ge 2 ] && break
  sleep 0.1
done
[ "$(windows)" -ge 2 ] || fail "the description list did not open"

xdotool key Escape
sleep 1
kill -0 "$PID" 2>/dev/null || fail "the first Esc closed the window"
[ "$(windows)" -eq 1 ] || fail "the first Esc left the list open"

xdotool key Escape
for _ in $(seq 1 50); do
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$PID" 2>/dev/null && fail "the second Esc did not close the window"
wait "$PID" 2>/dev/null
PID=
echo "Esc closed the list, then the window"
exit 0
