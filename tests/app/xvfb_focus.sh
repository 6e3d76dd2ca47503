#!/usr/bin/env bash
# The operator's keys land where the operator is typing: the real program
# under Xvfb and openbox, typed with xdotool key by key, on a log without a
# file name. The first contact warns (a real message box, closed with
# Return) and offers the description, put aside with Esc; the second is typed
# on in the entry line and no description comes. A half-typed line survives
# the menu's "Reindexovat Databázi LOKÁTORŮ"; Ctrl+R shows the announced
# portable stations and Ctrl+R closes them; F12 shows the map with Alt+C and
# Alt+X pressed in it, and Return hands the locator back unchanged; the tool
# windows opened by their keys and closed again. After each path the rest of
# the contact and Return store it, as the crash backup shows: its locator
# and distance included.
#
#   xvfb_focus.sh [path/to/vektrano] [folder for a failure's screenshot]
#
# Exit status 0 when everything holds, 77 when a tool is missing.
set -u
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
SHOTS=${2:-}
own_display 1280x1024 "$PROGRAM" "$SHOTS"
need xdotool openbox import
need_program

work_folder vektrano-focus
OUTPUT_LINES=40
fail() {
  echo "FAIL: $*"
  shot focus-failure
  echo "--- crash backup:"; cat "$BACKUP" 2>/dev/null
  program_output
  exit 1
}

window_manager

program_folder
mkdir -p "$HOME_DIR/UlozisteDat"
real_message_boxes
printf 'JO70GQ;Praha\r\nJO70PO;Koz\xe1kov\r\nJO70PP;Bezd\xeaz\r\n' >"$HOME_DIR/vektrano.zr4"
printf 'OK1ABC/p JO70PO\r\n' >"$HOME_DIR/portable.txt"
BACKUP=$HOME_DIR/zaloha.qvl

start_vektrano
activate "$WID"
sleep 1

# stored NAME LOCATOR: the backup holds the contact of NAME with LOCATOR and
# a distance of more than 0 km.
stored() {
  for _ in $(seq 1 50); do
    grep -aiq ";[^;]*$1[^;]*;[^;]*;$2;[1-9][0-9]*;" "$BACKUP" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "$3: the contact of $1 with $2 was not stored"
}

# A log without a name: the first contact warns once and offers the
# description; put aside, it does not come back with the next contact.
typed "59 57 ok1abc jo70po petr"
keys Return
sleep 1
keys Return  # the warning's OK
window_named 'ZR4 - ' >/dev/null || fail "no description offered after the first contact"
keys Escape
sleep 1
shown 'ZR4 - ' && fail "the description did not go away with Esc"
stored Petr JO70PO "first contact"
typed "59 57 ok2xyz jo70po jana"
keys Return
sleep 1
shown 'ZR4 - ' && fail "the description was offered again"
stored Jana JO70PO "second contact"
echo "ok: unnamed log"

# A half-typed line, then Pomocné funkce / INDEXOVÁNÍ DATABÁZÍ / Reindexovat
# Databázi LOKÁTORŮ chosen with the keys; the rest typed after it.
typed "59 57 ok1def jo70po"
keys alt+p
keys Down Down Down Down Down Down Down Down Down Right Down Return
sleep 2
typed " karel"
keys Return
stored Karel JO70PO "after the re-index"
echo "ok: re-index"

# Ctrl+R shows the announced portable stations, Ctrl+R closes them.
keys ctrl+r
keys ctrl+r
typed "59 57 ok1ghi jo70po josef"
keys Return
stored Josef JO70PO "after Ctrl+R twice"
echo "ok: Ctrl+R"

# F12 on a typed locator: the map, Alt+C and Alt+X in it, Return hands the
# locator back.
typed "59 57 ok1jkl jo70pp"
keys F12
window_named 'Mapa p.*lok.*toru' >/dev/null || fail "no map window after F12"
sleep 1
keys alt+c
keys alt+x
keys Return
sleep 1
shown 'Mapa p.*lok.*toru' && fail "the map did not close with Return"
typed " pavel"
keys Return
stored Pavel JO70PP "after the map"
echo "ok: map"

# Tool windows opened on a half-typed line and closed again (Alt+F4, the
# frameless description with Esc): the keys come back to the line.
n=0
for window in "F1|Kole|alt+F4" "ctrl+d|zvy|alt+F4" "F8|ZR-4 +mapa|alt+F4" "ctrl+t|Tisk den|alt+F4" \
    "ctrl+a|Archiv|alt+F4" "ctrl+e|ZR4 - |Escape" "ctrl+i|Aktualizace|alt+F4"; do
  IFS='|' read -r key caption close <<<"$window"
  n=$((n + 1))
  name=tool$(echo "$n" | tr 0-9 a-j)  # letters only: no word of the line is a report
  typed "59 57 ok1t$n jo70po"
  keys "$key"
  window_named "$caption" >/dev/null || fail "$key: no window \"$caption\""
  sleep 1
  w=$(windows_named "$caption" | head -1)
  xdotool windowactivate --sync "$w" 2>/dev/null
  keys "$close"
  sleep 1
  shown "$caption" && fail "$key: the window did not close"
  typed " $name"
  keys Return
  stored "$name" JO70PO "after $key and $close"
done
echo "ok: tool windows closed"

echo "every key landed in the entry line"
exit 0
