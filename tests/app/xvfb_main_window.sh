#!/usr/bin/env bash
# The real program in a real X server: under Xvfb the main window opens on a
# fresh program folder (only the locator database and the sound file given,
# which start-up never writes), a screenshot shows it drawn (the grid with a
# contact, the entry line), and the menu's end command closes it cleanly:
# exit status 0, settings stored, no crash backup left.
#
#   xvfb_main_window.sh [path/to/vektrano] [screenshot.png]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-$here/../../../build/bin/vektrano}
shot=${2:-}
[ -x "$bin" ] || { echo "no program at $bin" >&2; exit 2; }
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing" >&2; exit 77; }
done

work=$(mktemp -d /tmp/vektrano-xvfb-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home/UlozisteDat" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
printf 'JO70GQ;Praha\r\nJO60LJ;Klinovec\r\n' >"$work/home/vektrano.zr4"
printf 'RIFF' >"$work/home/vektrano.wav"
# A log on the command line, so that the grid has a row to show.
log="$work/home/UlozisteDat/xvfb.qvl"
{
  printf 'JO70GQ;por.;cas;RV;Volacka;RP;Lokator;km;pozn;Xvfb;Praha;JO70GQ;;;;;;;;;;;;\r\n'
  printf 'JO70GQ;1;10:00:00;59;OK1ABC;59;JO60LJ;120;;\r\n'
} >"$log"

cat >"$work/inner.sh" <<'EOF'
#!/usr/bin/env bash
set -u
work=$1 bin=$2 log=$3
export VEKTRANO_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export VEKTRANO_MESSAGES=stderr VEKTRANO_TEST_HOOKS=1 QT_QPA_PLATFORM=xcb
"$bin" "$log" 2>"$work/stderr" &
pid=$!
fail() { echo "FAIL: $*" >&2; cat "$work/stderr" >&2; kill "$pid" 2>/dev/null; exit 1; }

for _ in $(seq 1 200); do
  grep -q 'vektrano-test: ready' "$work/stderr" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window was ready"
  sleep 0.1
done
grep -q 'vektrano-test: ready' "$work/stderr" || fail "no ready report within 20 s"

wid=$(timeout 10 xdotool search --sync --onlyvisible --name 'NOVR' | head -n 1) ||
  fail "no visible window named NOVR"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" -ge 622 ] && [ "$HEIGHT" -ge 400 ] || fail "window only ${WIDTH}x${HEIGHT}"
sleep 1  # let it paint
shoot() {  # shoot NAME: the window's part of the screen
  import -window root "$work/root.png"
  convert "$work/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/$1.png"
}
colours() { convert "$work/$1.png" -crop "$2" +repage -format '%k' info:; }

# Client rows: grid row 1 right below the title row at 141, the entry line
# 50 high at the bottom of the client, above the status bar.
shoot window
n=$(colours window "${WIDTH}x${HEIGHT}+0+0")
[ "$n" -ge 20 ] || fail "the window looks empty ($n colours)"
[ "$(colours window "300x14+10+$((141 + 22 + 24))")" -ge 2 ] || fail "no contact row in the grid"
[ "$(colours window "300x30+10+$((HEIGHT - 65))")" -le 2 ] || fail "the entry line is not empty"

# Typing goes to the entry line, which has the focus; the look-ups then
# cover the grid.
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool type --delay 30 'OK2XYZ'
sleep 1
shoot typed
[ "$(colours typed "300x30+10+$((HEIGHT - 65))")" -ge 3 ] || fail "no text in the entry line"

# Close through the file menu: Alt+S opens "&Soubor", K is "&Konec ...".
xdotool key --clearmodifiers alt+s
sleep 0.5
xdotool key k
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then fail "still running 10 s after the end command"; fi
wait "$pid"
rc=$?
[ "$rc" -eq 0 ] || fail "exit status $rc"
[ ! -e "$work/home/zaloha.qvl" ] || fail "crash backup left behind"
grep -qa 'Poprve' "$work/config/NOVR/registry" || fail "settings not stored"
echo "window ${WIDTH}x${HEIGHT} drawn, typed into, closed cleanly"
EOF
chmod +x "$work/inner.sh"

status=0
xvfb-run -a -s "-screen 0 1024x768x24" "$work/inner.sh" "$work" "$bin" "$log" || status=$?
if [ -n "$shot" ] && [ -e "$work/window.png" ]; then cp "$work/window.png" "$shot"; fi
if [ -n "$shot" ] && [ -e "$work/typed.png" ]; then cp "$work/typed.png" "${shot%.png}-typed.png"; fi
exit $status
