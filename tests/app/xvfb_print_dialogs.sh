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
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
SHOTS=${2:-}

own_display 1280x1024 "$PROGRAM" "$SHOTS"
need xdotool xprop openbox import
need_program

work_folder vektrano-print
OUTPUT_LINES=40

window_manager

program_folder
DATA=$HOME_DIR/UlozisteDat
mkdir -p "$DATA"
real_message_boxes
printf 'JO70GQ;Praha\r\n' >"$HOME_DIR/vektrano.zr4"
LOG=$DATA/denik.qvl
{
  printf 'JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n'
  for i in $(seq 1 80); do printf 'JO70GQ;%d;10:00:00;59;OK1ABC%d;59;JO60LJ;98;,chata;\r\n' "$i" "$i"; done
} >"$LOG"

start_vektrano "$LOG"
activate "$WID"
sleep 0.5

# The print window, made large: a dialog underneath it would be hidden whole.
xdotool key --clearmodifiers ctrl+t
PRINT=$(window_named 'Tisk den') || fail "Ctrl+T brought up no print window"
xdotool windowsize --sync "$PRINT" 1200 950
sleep 1.5

active() { xdotool getactivewindow 2>/dev/null; }
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
above "$DIALOG" "$PRINT" || fail "the PDF file dialog lies under the print window"
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
above "$BOX" "$PRINT" || fail "the message lies under the print window"
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
