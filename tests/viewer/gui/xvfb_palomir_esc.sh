#!/usr/bin/env bash
# Palomir under a real X server with a window manager (openbox), keys typed
# with xdotool: a described log opens its description list by itself once
# the window is active; the first Esc closes the list only, the second one
# the window.
#
#   xvfb_palomir_esc.sh [path/to/palomir]    exit 0 ok, 77 a tool missing
set -u
. "$(dirname "$0")/../../support/xvfb.sh"

here=$(cd "$(dirname "$0")" && pwd)
PROGRAM=${1:-$BUILT/palomir}
own_display 1024x768 "$PROGRAM"
need xdotool openbox
need_program

work_folder palomir-esc

window_manager

mkdir -p "$WORK/config" "$WORK/data"
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export VEKTRANO_MESSAGES=stderr QT_QPA_PLATFORM=xcb
LOG=$WORK/expedice.qvl
cp "$here/../data/expedice.qvl" "$LOG"

launch "$LOG"
first_window
activate "$WID"

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
program_ends "the second Esc did not close the window" 50
echo "Esc closed the list, then the window"
exit 0
