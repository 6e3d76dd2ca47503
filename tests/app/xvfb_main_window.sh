#!/usr/bin/env bash
# The real program in a real X server: under Xvfb the main window opens on a
# fresh program folder (only the locator database and the sound file given,
# which start-up never writes), a screenshot shows it drawn (the grid with a
# contact, the entry line), and the menu's end command closes it cleanly:
# exit status 0, settings stored, no crash backup left.
#
#   xvfb_main_window.sh [path/to/vektrano] [screenshot.png]
set -u
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
SHOT=${2:-}
# A screen of its own whatever the display: the screenshots show this window
# alone.
own_display --always 1024x768 "$PROGRAM" "$SHOT"
need xdotool import convert
need_program

work_folder vektrano-xvfb
keep_shots() {  # what was taken, also when a check failed
  if [ -n "$SHOT" ] && [ -e "$WORK/window.png" ]; then cp "$WORK/window.png" "$SHOT"; fi
  if [ -n "$SHOT" ] && [ -e "$WORK/typed.png" ]; then cp "$WORK/typed.png" "${SHOT%.png}-typed.png"; fi
  cleanup
}
trap keep_shots EXIT

program_folder
mkdir -p "$HOME_DIR/UlozisteDat"
printf 'JO70GQ;Praha\r\nJO60LJ;Klinovec\r\n' >"$HOME_DIR/vektrano.zr4"
# A log on the command line, so that the grid has a row to show.
log="$HOME_DIR/UlozisteDat/xvfb.qvl"
{
  printf 'JO70GQ;por.;cas;RV;Volacka;RP;Lokator;km;pozn;Xvfb;Praha;JO70GQ;;;;;;;;;;;;\r\n'
  printf 'JO70GQ;1;10:00:00;59;OK1ABC;59;JO60LJ;120;;\r\n'
} >"$log"

start_vektrano "$log"
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" -ge 622 ] && [ "$HEIGHT" -ge 400 ] || fail "window only ${WIDTH}x${HEIGHT}"
sleep 1  # let it paint
shoot() {  # shoot NAME: the window's part of the screen
  import -window root "$WORK/root.png"
  convert "$WORK/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$WORK/$1.png"
}
colours() { convert "$WORK/$1.png" -crop "$2" +repage -format '%k' info:; }

# Client rows: grid row 1 right below the title row at 141, the entry line
# 50 high at the bottom of the client, above the status bar.
shoot window
n=$(colours window "${WIDTH}x${HEIGHT}+0+0")
[ "$n" -ge 20 ] || fail "the window looks empty ($n colours)"
[ "$(colours window "300x14+10+$((141 + 22 + 24))")" -ge 2 ] || fail "no contact row in the grid"
[ "$(colours window "300x30+10+$((HEIGHT - 65))")" -le 2 ] || fail "the entry line is not empty"

# Typing goes to the entry line, which has the focus; the look-ups then
# cover the grid.
xdotool windowfocus --sync "$WID" 2>/dev/null || true
xdotool type --delay 30 'OK2XYZ'
sleep 1
shoot typed
[ "$(colours typed "300x30+10+$((HEIGHT - 65))")" -ge 3 ] || fail "no text in the entry line"

# Close through the file menu: Alt+S opens "&Soubor", K is "&Konec ...".
xdotool key --clearmodifiers alt+s
sleep 0.5
xdotool key k
program_ends "still running 10 s after the end command"
[ "$RC" -eq 0 ] || fail "exit status $RC"
[ ! -e "$HOME_DIR/zaloha.qvl" ] || fail "crash backup left behind"
grep -qa 'Poprve' "$WORK/config/NOVR/registry" || fail "settings not stored"
echo "window ${WIDTH}x${HEIGHT} drawn, typed into, closed cleanly"
