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
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
own_display 1024x768 "$PROGRAM"
need xdotool openbox xwininfo xprop
need_program

work_folder vektrano-keys

window_manager

program_folder
real_message_boxes
printf 'JO70PO Koz\xe1kov\r\n' >"$HOME_DIR/vektrano.zr4"
LOG=$HOME_DIR/denik.qvl
printf 'JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n' >"$LOG"
cp "$LOG" "$WORK/before"

start_vektrano "$LOG"
activate "$WID"
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
