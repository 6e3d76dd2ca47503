#!/usr/bin/env bash
# One contact typed into the real program as an operator would: start
# vektrano on a temporary program folder with a described log, type the line
# with xdotool, press Enter, and find the contact in the log file and in the
# crash backup byte for byte; then kill the program with SIGKILL and check
# that both files still hold it.
#
# Usage: e2e_entry.sh [path/to/vektrano]   (needs a display: run it under
#        xvfb-run -a, or it starts one itself when xvfb-run is at hand)
# Exit status 0 when everything holds, 77 when a tool is missing.
set -u

PROGRAM=${1:-$(cd "$(dirname "$0")/../../.." && pwd)/build/bin/vektrano}
LINE="59 57 jo70po 12:34 petr"

if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "e2e: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$PROGRAM"
fi
command -v xdotool >/dev/null || { echo "e2e: xdotool missing"; exit 77; }
[ -x "$PROGRAM" ] || { echo "e2e: no program at $PROGRAM"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vektrano-e2e-XXXXXX")
PID=
cleanup() {
  [ -n "$PID" ] && kill -9 "$PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "e2e: FAIL: $*"
  echo "--- program output:"; cat "$WORK/stderr" 2>/dev/null
  exit 1
}

HOME_DIR=$WORK/home
mkdir -p "$HOME_DIR" "$WORK/config" "$WORK/data" "$WORK/run"
chmod 700 "$WORK/run"
export VEKTRANO_HOME=$HOME_DIR XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run VEKTRANO_MESSAGES=stderr VEKTRANO_TEST_HOOKS=1
export QT_QPA_PLATFORM=xcb
unset QT_IM_MODULE XMODIFIERS

# The files the program refuses to start without: the town database and the
# contact sound (a valid wave of no samples).
printf 'JO70PO Koz\xe1kov\r\n' >"$HOME_DIR/vektrano.zr4"
printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00' \
  >"$HOME_DIR/vektrano.wav"

# A described log without contacts (name, place and locator filled in), in
# cp1250 with CR LF.
TITLE='JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n'
CONTACT='JO70GQ;1;12:34:00;59;Petr;57;JO70PO;54;;\r\n'
LOG=$HOME_DIR/denik.qvl
printf "$TITLE" >"$LOG"
printf "$TITLE$CONTACT" >"$WORK/expected"

"$PROGRAM" "$LOG" 2>"$WORK/stderr" &
PID=$!

for _ in $(seq 1 300); do
  grep -q "vektrano-test: ready" "$WORK/stderr" && break
  kill -0 "$PID" 2>/dev/null || fail "the program ended during start-up"
  sleep 0.1
done
grep -q "vektrano-test: ready" "$WORK/stderr" || fail "the program did not get ready"

WID=$(xdotool search --sync --onlyvisible --pid "$PID" 2>/dev/null | head -1)
[ -n "$WID" ] || fail "no window of the program"
xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
sleep 0.5

# Typed as a person types: one key after another, then Enter.
xdotool type --delay 60 "$LINE"
sleep 0.3
xdotool key Return

for _ in $(seq 1 100); do
  cmp -s "$LOG" "$WORK/expected" && break
  sleep 0.1
done
cmp -s "$LOG" "$WORK/expected" || {
  echo "--- log file:"; od -c "$LOG" | head -20
  fail "the log file does not hold the contact exactly"
}
cmp -s "$HOME_DIR/zaloha.qvl" "$WORK/expected" || fail "the crash backup does not hold the contact"

# The hardest end: nothing the program held may be lost.
kill -9 "$PID"
wait "$PID" 2>/dev/null
PID=
cmp -s "$LOG" "$WORK/expected" || fail "the log file changed after SIGKILL"
cmp -s "$HOME_DIR/zaloha.qvl" "$WORK/expected" || fail "the crash backup changed after SIGKILL"
leftovers=$(find "$HOME_DIR" -maxdepth 1 \( -name '*.tmp' -o -name '.*.qvl.*' \) | head -1)
[ -z "$leftovers" ] || fail "a half-written file was left: $leftovers"

echo "e2e: ok"
exit 0
