#!/usr/bin/env bash
# The internet update that renews the program file, in the real program:
# a copy of the program in a folder of its own (a build folder, so it may
# replace itself) takes its update from a server on 127.0.0.1 whose list
# offers a new program. Ctrl+I, "Proveď kontrolu", then the download: the
# program file is swapped (the old one kept as ".e"), the settings written,
# the program ends although the update window is open, and the new program
# starts after the old one let go of its single-instance lock: it gets its
# own main window instead of the "already running" notice.
#
#   xvfb_update_restart.sh [path/to/vektrano] [screenshot folder]
#
# Exit status 0 when everything holds, 77 when a tool is missing.
set -u

PROGRAM=${1:-$(cd "$(dirname "$0")/../../.." && pwd)/build/bin/vektrano}
SHOTS=${2:-}

if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$PROGRAM" "$SHOTS"
fi
for tool in xdotool openbox python3 import pgrep; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
[ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vektrano-update-XXXXXX")
PID= WM= SERVER= NEW=
cleanup() {
  [ -n "$PID" ] && kill -9 "$PID" 2>/dev/null
  [ -n "$NEW" ] && kill -9 "$NEW" 2>/dev/null
  [ -n "${BIN:-}" ] && pkill -9 -f -x "$BIN/vektrano" 2>/dev/null
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null
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

# The program in a folder of its own; its new version is the same program.
BIN=$WORK/bin
mkdir -p "$BIN" "$WORK/home" "$WORK/config/NOVR" "$WORK/data" "$WORK/run" "$WORK/www/vektrano/data"
chmod 700 "$WORK/run"
cp "$PROGRAM" "$BIN/vektrano"
printf 'JO70GQ;Praha\r\nJO60LJ;Kl\xednovec\r\n' >"$WORK/home/vektrano.zr4"
printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00' \
  >"$WORK/home/vektrano.wav"

# The update server: the list offers the program, the archive holds it.
printf 'vektrano.ex;Nova verze programu;.\\;vektrano/vektrano.ex\r\n' >"$WORK/www/vektrano/vektrano.upd"
printf 'OK1ABC JO70GQ\r\n' >"$WORK/www/vektrano/data/portable.txt"
printf '<html></html>' >"$WORK/www/vektrano/historie.htm"
# Without its debugging sections the download is a few megabytes.
NEWPROGRAM=$WORK/new
strip --strip-debug -o "$NEWPROGRAM" "$PROGRAM" 2>/dev/null || cp "$PROGRAM" "$NEWPROGRAM"
python3 - "$NEWPROGRAM" "$WORK/www/vektrano/vektrano.ex.zip" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED) as z:
    z.write(sys.argv[1], "vektrano.ex")
EOF
cat >"$WORK/server.py" <<'EOF'
import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
server = http.server.HTTPServer(("127.0.0.1", 0), handler)
with open(sys.argv[2], "w") as f:
    f.write(str(server.server_address[1]))
server.serve_forever()
EOF
python3 "$WORK/server.py" "$WORK/www" "$WORK/port" 2>/dev/null &
SERVER=$!
for _ in $(seq 1 50); do [ -s "$WORK/port" ] && break; sleep 0.1; done
[ -s "$WORK/port" ] || fail "the update server did not start"
printf '[\\Software\\NOVR\\Vektrano\\Form15]\r\nS UpdateServer=http://127.0.0.1:%s\r\n' "$(cat "$WORK/port")" \
  >"$WORK/config/NOVR/registry"

export VEKTRANO_HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run VEKTRANO_MESSAGES=stderr VEKTRANO_TEST_HOOKS=1 QT_QPA_PLATFORM=xcb
# The server's history page is opened by the desktop: here by nothing.
export BROWSER=true
unset QT_IM_MODULE XMODIFIERS

"$BIN/vektrano" 2>"$WORK/stderr" &
PID=$!
for _ in $(seq 1 300); do
  grep -q "vektrano-test: ready" "$WORK/stderr" && break
  kill -0 "$PID" 2>/dev/null || fail "the program ended during start-up"
  sleep 0.1
done
grep -q "vektrano-test: ready" "$WORK/stderr" || fail "the program did not get ready"
WID=$(xdotool search --all --sync --onlyvisible --pid "$PID" --name 'NOVR' 2>/dev/null | head -1)
[ -n "$WID" ] || fail "no main window"
xdotool windowactivate --sync "$WID" 2>/dev/null
sleep 1

xdotool key --clearmodifiers ctrl+i
UPD=
for _ in $(seq 1 50); do
  UPD=$(xdotool search --all --onlyvisible --pid "$PID" --name 'Aktualizace pomoc' 2>/dev/null | head -1)
  [ -n "$UPD" ] && break
  sleep 0.2
done
[ -n "$UPD" ] || fail "Ctrl+I opened no update window"
xdotool windowactivate --sync "$UPD" 2>/dev/null
sleep 0.5
# The grid has the focus first; Tab reaches the button: the check, which
# fetches the list, then the station list.
xdotool key --clearmodifiers Tab space
for _ in $(seq 1 300); do
  [ -e "$WORK/home/portable.txt" ] && break
  sleep 0.1
done
grep -q "vektrano.ex;Nova verze" "$WORK/home/vektrano.upd" 2>/dev/null ||
  fail "the update list was not fetched"
[ -e "$WORK/home/portable.txt" ] || fail "the check did not end"
sleep 2
shot checked
# After the check the button has the focus: the download.
xdotool key --clearmodifiers space

for _ in $(seq 1 600); do
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$PID" 2>/dev/null && fail "the program did not end after the update"
wait "$PID"
rc=$?
PID=
[ "$rc" -eq 0 ] || fail "exit status $rc"
grep -q "bude nyní ukončen" "$WORK/stderr" || fail "no notice that the program ends"
[ -x "$BIN/vektrano" ] && [ -e "$BIN/vektrano.e" ] || fail "the program file was not swapped"
grep -qa "datumupdate" "$WORK/config/NOVR/registry" || fail "the settings were not written"

# The new program: the lock was free for it, so it opens its own window.
# It is the process of that name with a main window: the first one seen may
# be the short-lived fork that starts it, which carries the same command line.
started= W2=
for _ in $(seq 1 300); do
  for p in $(pgrep -f -x "$BIN/vektrano"); do
    started=1
    W2=$(xdotool search --all --onlyvisible --pid "$p" --name 'NOVR' 2>/dev/null | head -1)
    [ -n "$W2" ] && { NEW=$p; break 2; }
  done
  sleep 0.1
done
[ -n "$started" ] || fail "the new program was not started"
[ -n "$W2" ] || fail "the new program has no main window"
sleep 1
shot restarted
kill "$NEW" 2>/dev/null
wait "$NEW" 2>/dev/null
NEW=
echo "the update swapped the program, ended it and started the new one"
