#!/usr/bin/env bash
# The dialogs of the print window under a real X server with a window
# manager (openbox), driven with xdotool: the print window (Ctrl+T) stays on
# top of the main window, so the PDF printer's file dialog and the message
# of a file that cannot be written must stand above it, not underneath. Esc
# in the dialog and OK in the message give the print window back; a file
# the dialog names is written.
#
#   xvfb_print_dialogs.sh [path/to/vektrano] [folder for the screenshots]
#
# Exit status 0 when everything holds, 77 when a tool is missing.
set -u

PROGRAM=${1:-$(cd "$(dirname "$0")/../../.." && pwd)/build/bin/vektrano}
SHOTS=${2:-}

if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$PROGRAM" "$SHOTS"
fi
for tool in xdotool xprop openbox import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vektrano-print-XXXXXX")
PID= WM=
cleanup() {
  [ -n "$PID" ] && { kill -9 "$PID"; wait "$PID"; } 2>/dev/null
  [ -n "$WM" ] && kill "$WM" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
shot() { [ -n "$SHOTS" ] && mkdir -p "$SHOTS" && import -window root "$SHOTS/$1.png" 2>/dev/null; }
fail() {
  echo "FAIL: $*"
  shot failure
  echo "--- program output:"; tail -40 "$WORK/stderr" 2>/dev/null
  exit 1
}

openbox >/dev/null 2>&1 &
WM=$!
sleep 1

HOME_DIR=$WORK/home
DATA=$HOME_DIR/UlozisteDat
mkdir -p "$DATA" "$WORK/config" "$WORK/data" "$WORK/run"
chmod 700 "$WORK/run"
# Real message boxes: nothing may show one at start-up, so the help file is there.
export VEKTRANO_HOME=$HOME_DIR XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run VEKTRANO_TEST_HOOKS=1 QT_QPA_PLATFORM=xcb
unset VEKTRANO_MESSAGES QT_IM_MODULE XMODIFIERS
printf 'JO70GQ;Praha\r\n' >"$HOME_DIR/vektrano.zr4"
printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00' \
  >"$HOME_DIR/vektrano.wav"
printf 'help' >"$HOME_DIR/vektrano.hlp"
LOG=$DATA/denik.qvl
{
  printf 'JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n'
  for i in $(seq 1 80); do printf 'JO70GQ;%d;10:00:00;59;OK1ABC%d;59;JO60LJ;98;,chata;\r\n' "$i" "$i"; done
} >"$LOG"

"$PROGRAM" "$LOG" 2>"$WORK/stderr" &
PID=$!
for _ in $(seq 1 300); do
  grep -q "vektrano-test: ready" "$WORK/stderr" && break
  kill -0 "$PID" 2>/dev/null || fail "the program ended during start-up"
  sleep 0.1
done
grep -q "vektrano-test: ready" "$WORK/stderr" || fail "the program did not get ready"
WID=$(xdotool search --all --sync --onlyvisible --pid "$PID" --name 'NOVR' 2>/dev/null | head -1)
[ -n "$WID" ] || fail "no main window"
xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
sleep 0.5

# The print window, made large: a dialog underneath it would be hidden whole.
xdotool key --clearmodifiers ctrl+t
PRINT=
for _ in $(seq 1 50); do
  PRINT=$(xdotool search --all --onlyvisible --pid "$PID" --name 'Tisk den' 2>/dev/null | head -1)
  [ -n "$PRINT" ] && break
  sleep 0.2
done
[ -n "$PRINT" ] || fail "Ctrl+T brought up no print window"
xdotool windowsize --sync "$PRINT" 1200 950
sleep 1.5

active() { xdotool getactivewindow 2>/dev/null; }
# WINDOW lies above the print window in the window manager's stacking order.
above_print() {
  local order
  order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g')
  local p w i=0 at_print=-1 at_w=-1
  p=$(printf '0x%x' "$PRINT")
  w=$(printf '0x%x' "$1")
  for id in $order; do
    [ "$((id))" = "$((p))" ] && at_print=$i
    [ "$((id))" = "$((w))" ] && at_w=$i
    i=$((i + 1))
  done
  [ "$at_print" -ge 0 ] && [ "$at_w" -gt "$at_print" ]
}
# waits for a window other than the print and main window (and than $1) to
# become active
wait_other() {
  local a
  for _ in $(seq 1 50); do
    a=$(active)
    [ -n "$a" ] && [ "$a" != "$PRINT" ] && [ "$a" != "$WID" ] && [ "$a" != "${1:-}" ] && { echo "$a"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_print_active() {
  for _ in $(seq 1 50); do
    [ "$(active)" = "$PRINT" ] && return 0
    sleep 0.1
  done
  return 1
}
print_button() {  # "T I S K N I" at the bottom right, above the status bar
  eval "$(xdotool getwindowgeometry --shell "$PRINT")"
  xdotool mousemove --window "$PRINT" $((WIDTH - 60)) $((HEIGHT - 45)) click 1
}

# The PDF printer asks for its file over the print window.
print_button
DIALOG=$(wait_other) || fail "the print button brought up no dialog in front"
name=$(xdotool getwindowname "$DIALOG")
[[ $name == *PDF* ]] || fail "the window in front is \"$name\", not the PDF file dialog"
above_print "$DIALOG" || fail "the PDF file dialog lies under the print window"
xprop -id "$DIALOG" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$PRINT")" ||
  fail "the PDF file dialog does not belong to the print window"
shot file_dialog
echo "ok: the PDF file dialog stands above the print window"
xdotool key --clearmodifiers Escape
wait_print_active || fail "Esc in the dialog did not give the print window back"
[ -e "$DATA/Denik.pdf" ] && fail "a cancelled print wrote a file"

# A file nobody may write (the name the dialog proposes leads into /proc):
# the message stands above the print window too.
ln -s /proc/vektrano-denik.pdf "$DATA/Denik.pdf"
print_button
DIALOG=$(wait_other) || fail "no dialog the second time"
xdotool key --clearmodifiers Return
BOX=$(wait_other "$DIALOG") || fail "no message for a file that cannot be written"
above_print "$BOX" || fail "the message lies under the print window"
shot message
echo "ok: the message of an unwritable file stands above the print window"
xdotool key --clearmodifiers Return
wait_print_active || fail "OK in the message did not give the print window back"
rm "$DATA/Denik.pdf"

# The file the dialog proposes, in the data folder, is written.
print_button
wait_other >/dev/null || fail "no dialog the third time"
xdotool key --clearmodifiers Return
for _ in $(seq 1 100); do
  [ -s "$DATA/Denik.pdf" ] && break
  sleep 0.1
done
[ -s "$DATA/Denik.pdf" ] || fail "no Denik.pdf in the data folder"
head -c 5 "$DATA/Denik.pdf" | grep -q '%PDF-' || fail "Denik.pdf is no PDF"
wait_print_active || fail "the print window did not get its focus back after printing"
echo "ok: the log printed into the file the dialog named"
exit 0
