#!/usr/bin/env bash
# The main window under Xvfb and openbox, as the operator starts and closes
# it: four starts, each closed from the menu, find it where the one before
# left it (the window on the screen and the stored Top and Left alike). The
# report table then stays above the main window when the main window is
# clicked.
#
#   xvfb_window_placement.sh [path/to/vektrano]    exit 0 ok, 77 a tool missing
set -u
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
own_display 1280x1024 "$PROGRAM"
need xdotool xwininfo xprop openbox
need_program

work_folder vektrano-placement
OUTPUT_LINES=20

window_manager

program_folder
mkdir -p "$HOME_DIR/UlozisteDat"
printf 'JO70GQ;Praha\r\n' >"$HOME_DIR/vektrano.zr4"
REGISTRY=$WORK/config/NOVR/registry

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
quit() {
  activate "$WID"
  keys alt+s k
  program_ends "the program did not end"
  [ "$RC" -eq 0 ] || fail "exit status $RC"
}

# Four starts: the first places the window by its defaults, the others where
# the one before closed it.
first=
for cycle in 1 2 3 4; do
  start_vektrano
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
start_vektrano
activate "$WID"
keys ctrl+shift+F12 alt+p Left Up Return
TABLE=$(window_named '^Den.*k ZR-4$') || fail "the report table did not open"
read -r TX TY < <(corner "$TABLE")
TW=$(xwininfo -id "$TABLE" | awk '/Width:/ {print $2}')
read -r MX MY < <(corner "$WID")
# A point of the main window beside the table.
xdotool mousemove $((TX + TW + 40)) $((MY + 120)) click 1
sleep 0.5
above "$TABLE" "$WID" || fail "a click on the main window hid the report table"
echo "ok: the report table stays above the main window after a click on it"
xdotool windowactivate --sync "$TABLE" 2>/dev/null
keys alt+F4
quit
exit 0
