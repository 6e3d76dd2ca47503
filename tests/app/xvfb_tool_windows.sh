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

PROGRAM=${1:-$(cd "$(dirname "$0")/../../.." && pwd)/build/bin/vektrano}
SHOTS=${2:-}

if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$PROGRAM" "$SHOTS"
fi
for tool in xdotool xwininfo openbox import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vektrano-tools-XXXXXX")
PID= WM=
cleanup() {
  [ -n "$PID" ] && kill -9 "$PID" 2>/dev/null
  [ -n "$WM" ] && kill "$WM" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -n "$SHOTS" ] && mkdir -p "$SHOTS" && import -window root "$SHOTS/failure.png" 2>/dev/null
  echo "--- program output:"; tail -40 "$WORK/stderr" 2>/dev/null
  exit 1
}

openbox >/dev/null 2>&1 &
WM=$!
sleep 1

HOME_DIR=$WORK/home
mkdir -p "$HOME_DIR/UlozisteDat" "$WORK/config" "$WORK/data" "$WORK/run"
chmod 700 "$WORK/run"
export VEKTRANO_HOME=$HOME_DIR XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run VEKTRANO_MESSAGES=stderr VEKTRANO_TEST_HOOKS=1 QT_QPA_PLATFORM=xcb
unset QT_IM_MODULE XMODIFIERS
printf 'JO70GQ;Praha\r\nJO60LJ;Kl\xednovec\r\nJO70PO;Koz\xe1kov\r\n' >"$HOME_DIR/vektrano.zr4"
printf 'JO60LJ;OK1ABC (KV);1.1.2000\r\nJO70PO;OK2XYZ (SM);Nezji\x9at\xecno\r\n' >"$HOME_DIR/vektrano.pvk"
printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00' \
  >"$HOME_DIR/vektrano.wav"
LOG=$HOME_DIR/UlozisteDat/denik.qvl
{
  printf 'JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n'
  printf 'JO70GQ;1;10:00:00;59;OK1ABC;59;JO60LJ;98;;\r\n'
  printf 'JO70GQ;2;10:20:00;59;OK2XYZ;57;JO70PO;54;;\r\n'
  printf 'JO70GQ;3;11:05:00;55;OK1DEF;55;JN79US;147;;\r\n'
  printf 'JO70GQ;4;12:40:00;59;OK1GHI;59;JN89AA;125;;\r\n'
  printf 'JO70GQ;5;13:15:00;58;OK5JKL;59;JO80FE;151;;\r\n'
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
sleep 1

main() {  # the main window in front, its entry line empty
  xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
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
window() {  # window CAPTION-REGEX: the program's visible window of that caption (the
# pattern is matched bytewise: a letter with a diacritic is two bytes)
  local w
  for _ in $(seq 1 50); do
    w=$(xdotool search --all --onlyvisible --pid "$PID" --name "$1" 2>/dev/null | grep -vx "$WID" | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}
# check NAME CAPTION-REGEX KEYS...: the keys (xdotool key words, "type:TEXT"
# types text) bring up the window; it is photographed and closed.
check() {
  local name=$1 caption=$2 w
  shift 2
  main
  for k in "$@"; do
    case $k in
      type:*) xdotool type --delay 40 "${k#type:}" ;;
      *) xdotool key --clearmodifiers "$k" ;;
    esac
    sleep 0.4
  done
  w=$(window "$caption") || fail "$name: no window \"$caption\""
  sleep 1  # let it paint
  echo "  $name: window $w \"$(xdotool getwindowname "$w")\"" >&2
  shoot "$w" "$name"
  xdotool windowactivate --sync "$w" 2>/dev/null
  xdotool key --clearmodifiers alt+F4
  for _ in $(seq 1 50); do
    xdotool search --all --onlyvisible --pid "$PID" --name "$caption" 2>/dev/null | grep -qvx "$WID" || break
    sleep 0.2
  done
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
for k in alt+p Left Left k; do
  xdotool key --clearmodifiers "$k"
  sleep 0.4
done
for _ in $(seq 1 100); do
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$PID" 2>/dev/null && fail "the program did not end"
wait "$PID"
rc=$?
PID=
[ "$rc" -eq 0 ] || fail "exit status $rc"
echo "every tool window opened from its command, drawn and closed"
