#!/usr/bin/env bash
# Keys an operator presses in menus and message boxes, under a real X server
# with a window manager (openbox), typed with xdotool: the window opens with
# its frame on the screen; with a half-typed line, a menu item chosen with the
# arrows and Return, and a message box closed with Return, leave the log on
# disk as it was and the line holding its text; Return in the line then
# stores it once.
#
#   xvfb_stray_keys.sh [path/to/vektrano]    exit 0 ok, 77 a tool missing
set -u

PROGRAM=${1:-$(cd "$(dirname "$0")/../../.." && pwd)/build/bin/vektrano}
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$PROGRAM"
fi
for tool in xdotool openbox xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vektrano-keys-XXXXXX")
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

HOME_DIR=$WORK/home
mkdir -p "$HOME_DIR" "$WORK/config" "$WORK/data" "$WORK/run"
chmod 700 "$WORK/run"
# Real message boxes: nothing may show one at start-up, so the help file is there.
export VEKTRANO_HOME=$HOME_DIR XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run VEKTRANO_TEST_HOOKS=1 QT_QPA_PLATFORM=xcb
unset VEKTRANO_MESSAGES QT_IM_MODULE XMODIFIERS
printf 'JO70PO Koz\xe1kov\r\n' >"$HOME_DIR/vektrano.zr4"
printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00' \
  >"$HOME_DIR/vektrano.wav"
printf 'help' >"$HOME_DIR/vektrano.hlp"
LOG=$HOME_DIR/denik.qvl
printf 'JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n' >"$LOG"
cp "$LOG" "$WORK/before"

"$PROGRAM" "$LOG" 2>"$WORK/stderr" &
PID=$!
for _ in $(seq 1 300); do
  grep -q "vektrano-test: ready" "$WORK/stderr" && break
  kill -0 "$PID" 2>/dev/null || fail "the program ended during start-up"
  sleep 0.1
done
grep -q "vektrano-test: ready" "$WORK/stderr" || fail "the program did not get ready"
WID=$(xdotool search --sync --onlyvisible --pid "$PID" 2>/dev/null | head -1)
[ -n "$WID" ] || fail "no window of the program"
xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
sleep 1

# The frame, caption included, lies on the screen.
y=$(xwininfo -id "$WID" | awk '/Absolute upper-left Y/ {print $4}')
top=$(xprop -id "$WID" _NET_FRAME_EXTENTS | sed -n 's/.*= *[0-9]*, *[0-9]*, *\([0-9]*\),.*/\1/p')
[ -n "$y" ] && [ -n "$top" ] || fail "no window geometry"
[ $((y - top)) -ge 0 ] || fail "the frame starts at y = $((y - top))"

unchanged() { cmp -s "$LOG" "$WORK/before" || fail "$1: the log changed"; }
menu_bar() {  # a click on the first menu of the bar ("Soubor")
  xdotool mousemove --window "$WID" 25 10 click 1
  sleep 0.5
}

xdotool type --delay 60 "55 55 menuleak"
sleep 0.5

# A menu opened with the mouse, an item chosen with the arrows and Return:
# Nastaven\xed's first item, the call-sign list mode.
menu_bar
xdotool key Right Right Right
sleep 0.3
xdotool key Return
sleep 1
unchanged "menu"

# A message box closed with Return: the recalculation's report, from
# Pomocn\xe9 funkce / \xdapravy den\xedku.
menu_bar
xdotool key Right Right
sleep 0.3
xdotool key Down Down Down Down Right
sleep 0.3
xdotool key Down Down Down Down Return
sleep 1
xdotool key Return
sleep 1
unchanged "message box"

# The line still holds its text: Return typed in it stores it, once.
xdotool key Return
for _ in $(seq 1 50); do
  grep -qa ';Menuleak;' "$LOG" && break
  sleep 0.1
done
n=$(grep -ac ';Menuleak;' "$LOG")
[ "$n" = 1 ] || fail "the line was stored $n times"

echo "frame on the screen; menu and message box keys stayed out of the line"
exit 0
