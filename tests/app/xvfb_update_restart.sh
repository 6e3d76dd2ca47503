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
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
SHOTS=${2:-}

own_display 1024x768 "$PROGRAM" "$SHOTS"
need xdotool openbox python3 import pgrep
need_program

work_folder vektrano-update
OUTPUT_LINES=40
SERVER= NEW=
cleanup_update() {
  [ -n "$NEW" ] && kill -9 "$NEW" 2>/dev/null
  [ -n "${BIN:-}" ] && pkill -9 -f -x "$BIN/vektrano" 2>/dev/null
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null
  cleanup
}
trap cleanup_update EXIT

window_manager

program_folder
mkdir -p "$WORK/config/NOVR" "$WORK/www/vektrano/data"
printf 'JO70GQ;Praha\r\nJO60LJ;Kl\xednovec\r\n' >"$HOME_DIR/vektrano.zr4"
# The program in a folder of its own; its new version is the same program.
BIN=$WORK/bin
mkdir -p "$BIN"
cp "$PROGRAM" "$BIN/vektrano"

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

# The server's history page is opened by the desktop: here by nothing.
export BROWSER=true

PROGRAM=$BIN/vektrano  # the copy, which may replace itself
start_vektrano
activate "$WID"
sleep 1

xdotool key --clearmodifiers ctrl+i
UPD=$(window_named 'Aktualizace pomoc') || fail "Ctrl+I opened no update window"
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

program_ends "the program did not end after the update" 600
[ "$RC" -eq 0 ] || fail "exit status $RC"
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
