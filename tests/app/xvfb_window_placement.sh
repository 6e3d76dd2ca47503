#!/usr/bin/env bash
# The main window under Xvfb and openbox, as the operator starts and closes
# it: four starts, each closed from the menu, find it where the one before
# left it (the window on the screen and the stored Top and Left alike). The
# report table then stays above the main window when the main window is
# clicked.
#
#   xvfb_window_placement.sh [path/to/vektrano]    exit 0 ok, 77 a tool missing
set -u

PROGRAM=${1:-$(cd "$(dirname "$0")/../../.." && pwd)/build/bin/vektrano}
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$PROGRAM"
fi
for tool in xdotool xwininfo xprop openbox; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vektrano-placement-XXXXXX")
PID= WM=
cleanup() {
  [ -n "$PID" ] && kill -9 "$PID" 2>/dev/null
  [ -n "$WM" ] && kill "$WM" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  echo "--- program output:"; tail -20 "$WORK/stderr" 2>/dev/null
  exit 1
}

openbox >/dev/null 2>&1 &
WM=$!
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

HOME_DIR=$WORK/home
mkdir -p "$HOME_DIR/UlozisteDat" "$WORK/config" "$WORK/data" "$WORK/run"
chmod 700 "$WORK/run"
export VEKTRANO_HOME=$HOME_DIR XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run VEKTRANO_MESSAGES=stderr VEKTRANO_TEST_HOOKS=1 QT_QPA_PLATFORM=xcb
unset QT_IM_MODULE XMODIFIERS
printf 'JO70GQ;Praha\r\n' >"$HOME_DIR/vektrano.zr4"
printf 'RIFF' >"$HOME_DIR/vektrano.wav"
REGISTRY=$WORK/config/NOVR/registry

start() {  # the program up, its main window's id in WID
  : >"$WORK/stderr"
  "$PROGRAM" 2>"$WORK/stderr" &
  PID=$!
  for _ in $(seq 1 200); do
    grep -q "vektrano-test: ready" "$WORK/stderr" && break
    kill -0 "$PID" 2>/dev/null || fail "the program ended during start-up"
    sleep 0.1
  done
  grep -q "vektrano-test: ready" "$WORK/stderr" || fail "the program did not get ready"
  WID=$(xdotool search --all --sync --onlyvisible --pid "$PID" --name 'NOVR' 2>/dev/null | head -1)
  [ -n "$WID" ] || fail "no main window"
}
corner() {  # corner WINDOW: "X Y" of its client area on the screen, once the
  # window manager has framed it and left it in place
  local last= now
  for _ in $(seq 1 40); do
    now=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' && [ "$now" = "$last" ] && break
    last=$now
    sleep 0.1
  done
  echo "$now"
}
stored() {  # "Left Top" of the main window's key
  tr -d '\r' <"$REGISTRY" | awk '/^\[/ {inkey = ($0 == "[\\Software\\NOVR\\Vektrano\\Form1]")}
       inkey && /^I Left=/ {sub(/^I Left=/, ""); l = $0}
       inkey && /^I Top=/ {sub(/^I Top=/, ""); t = $0}
       END {print l, t}'
}
menu() {  # the keys one after another, as a hand types them
  for k in "$@"; do
    xdotool key --clearmodifiers "$k"
    sleep 0.3
  done
}
quit() {
  xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
  menu alt+s k
  for _ in $(seq 1 100); do
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$PID" 2>/dev/null && fail "the program did not end"
  wait "$PID"
  local rc=$?
  PID=
  [ "$rc" -eq 0 ] || fail "exit status $rc"
}

# Four starts: the first places the window by its defaults, the others where
# the one before closed it.
first=
for cycle in 1 2 3 4; do
  start
  now=$(corner "$WID")
  echo "  start $cycle: client at $now" >&2
  [ -z "$first" ] && first=$now
  [ "$now" = "$first" ] || fail "start $cycle: the main window moved from $first to $now"
  quit
  [ "$(stored)" = "$now" ] || fail "start $cycle: stored $(stored), closed at $now"
done
echo "ok: four starts, the main window stayed at $first"

# The report table (Ctrl+Shift+F12 unhides its menu item, the last one of
# "Správa seznamů") over the main window, which is then clicked.
start
xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
menu ctrl+shift+F12 alt+p Left Up Return
TABLE=
for _ in $(seq 1 50); do
  TABLE=$(xdotool search --all --onlyvisible --pid "$PID" --name '^Den.*k ZR-4$' 2>/dev/null | head -1)
  [ -n "$TABLE" ] && break
  sleep 0.1
done
[ -n "$TABLE" ] || fail "the report table did not open"
read -r TX TY < <(corner "$TABLE")
TW=$(xwininfo -id "$TABLE" | awk '/Width:/ {print $2}')
read -r MX MY < <(corner "$WID")
# A point of the main window beside the table.
xdotool mousemove $((TX + TW + 40)) $((MY + 120)) click 1
sleep 0.5
above() {  # above A B: A stands above B in the window manager's stacking order
  local order
  order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  local ia=-1 ib=-1 i=0
  for w in $order; do
    [ $((w)) -eq "$1" ] && ia=$i
    [ $((w)) -eq "$2" ] && ib=$i
    i=$((i + 1))
  done
  [ "$ia" -gt "$ib" ] && [ "$ib" -ge 0 ]
}
above "$TABLE" "$WID" || fail "a click on the main window hid the report table"
echo "ok: the report table stays above the main window after a click on it"
xdotool windowactivate --sync "$TABLE" 2>/dev/null
menu alt+F4
quit
exit 0
