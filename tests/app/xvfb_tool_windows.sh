#!/usr/bin/env bash
# The tool windows as the operator opens them: the real program under Xvfb
# and openbox, driven with xdotool through its keys (F12 after a typed
# locator, F8, Ctrl+T, Ctrl+I) and its menus (the lists, the pictures, the
# export and import of the update zip). Each command must bring up its
# window, found by its caption and drawn (a screenshot of it holds more than
# a few colours); Alt+F4 closes it, and the main window takes its keys again
# (the map window gives the key preview back). At the end the program
# closes cleanly from its menu.
#
#   xvfb_tool_windows.sh [path/to/vektrano] [folder for the screenshots]
#
# Exit status 0 when everything holds, 77 when a tool is missing.
set -u
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
SHOTS=${2:-}

own_display 1280x1024 "$PROGRAM" "$SHOTS"
need xdotool xwininfo openbox import convert
need_program

work_folder vektrano-tools
OUTPUT_LINES=40

window_manager

program_folder
mkdir -p "$HOME_DIR/UlozisteDat"
printf 'JO70GQ;Praha\r\nJO60LJ;Kl\xednovec\r\nJO70PO;Koz\xe1kov\r\n' >"$HOME_DIR/vektrano.zr4"
printf 'JO60LJ;OK1ABC (KV);1.1.2000\r\nJO70PO;OK2XYZ (SM);Nezji\x9at\xecno\r\n' >"$HOME_DIR/vektrano.pvk"
LOG=$HOME_DIR/UlozisteDat/denik.qvl
{
  printf 'JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n'
  printf 'JO70GQ;1;10:00:00;59;OK1ABC;59;JO60LJ;98;;\r\n'
  printf 'JO70GQ;2;10:20:00;59;OK2XYZ;57;JO70PO;54;;\r\n'
  printf 'JO70GQ;3;11:05:00;55;OK1DEF;55;JN79US;147;;\r\n'
  printf 'JO70GQ;4;12:40:00;59;OK1GHI;59;JN89AA;125;;\r\n'
  printf 'JO70GQ;5;13:15:00;58;OK5JKL;59;JO80FE;151;;\r\n'
} >"$LOG"

start_vektrano "$LOG"
sleep 1

main() {  # the main window in front, its entry line empty
  activate "$WID"
  sleep 0.3
}
shoot() {  # shoot WINDOW NAME: the window's client area on the screen
  local info X Y WIDTH HEIGHT
  info=$(xwininfo -id "$1")
  X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  WIDTH=$(awk '/Width:/ {print $2}' <<<"$info")
  HEIGHT=$(awk '/Height:/ {print $2}' <<<"$info")
  import -window root "$WORK/root.png"
  convert "$WORK/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$WORK/$2.png"
  [ -n "$SHOTS" ] && mkdir -p "$SHOTS" && cp "$WORK/$2.png" "$SHOTS/$2.png"
  local colours
  colours=$(convert "$WORK/$2.png" -format '%k' info:)
  [ "$colours" -ge 8 ] || fail "$2: the window looks empty ($colours colours)"
}
# check NAME CAPTION-REGEX KEYS...: the keys (xdotool key words, "type:TEXT"
# types text) bring up the window; it is photographed and closed.
check() {
  local name=$1 caption=$2 w
  shift 2
  main
  for k in "$@"; do
    case $k in
      type:*) typed "${k#type:}" ;;
      *) keys "$k" ;;
    esac
  done
  w=$(window_named "$caption") || fail "$name: no window \"$caption\""
  sleep 1  # let it paint
  echo "  $name: window $w \"$(xdotool getwindowname "$w")\"" >&2
  shoot "$w" "$name"
  xdotool windowactivate --sync "$w" 2>/dev/null
  xdotool key --clearmodifiers alt+F4
  window_gone "$caption"
  echo "ok: $name"
}
clear_line() { main; xdotool key --clearmodifiers End shift+Home BackSpace; sleep 0.3; }

# Keys of the main window.
check lokator_mapa 'Mapa p.*lok.*toru' type:'ok1abc jo70po' F12
# Closing the map gave the key preview back: F12 works again.
clear_line
check lokator_mapa_znovu 'Mapa p.*lok.*toru' type:'ok2xyz jo60lj' F12
clear_line
check mapa_spojeni 'ZR-4 +mapa' F8
check tisk_deniku 'Tisk den' ctrl+t
check aktualizace 'Aktualizace pomoc' ctrl+i

# The menus from "Pomocné funkce" (Alt+P; Alt+S is taken by both "Soubor"
# and "Správa seznamů"): Left goes back to "Správa seznamů", twice to
# "Soubor". The first item is active once a menu opens.
check sprava_lokatoru 'Spr.*va seznamu lok' alt+p Left Return
check seznam_volacek 'Spr.*va seznamu vola' alt+p Left Down Return
check zarazovani_volacek 'Za.*azov.*n.* vola' alt+p Left Down Down Down Down Down Return
check zamerovani 'Zam.*stanice' alt+p Down Return
check generuj_mapu 'ZR-4 +mapa' alt+p Down Down Right Return
check graf_ctvercu 'Graf .*etnosti' alt+p Down Down Down Right Return
check graf_hodin 'Graf po.*tu spojen' alt+p Down Down Down Right Down Return
check export_aktualizace 'Vyhledat slo' alt+p Left Left Down Down Down Down Down Down Down Down Down Return
check import_aktualizace 'Vyber soubor exportu' alt+p Left Left Down Down Down Down Down Down Down Down Down Down Return

grep -q "Okno „" "$WORK/stderr" && fail "a command still waits for its window"

# The end from the menu: nothing open any more, so it closes.
main
keys alt+p Left Left k
program_ends "the program did not end"
[ "$RC" -eq 0 ] || fail "exit status $RC"
echo "every tool window opened from its command, drawn and closed"
