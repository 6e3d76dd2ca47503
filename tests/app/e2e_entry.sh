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
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}
LINE="59 57 jo70po 12:34 petr"

own_display 1024x768 "$PROGRAM"
need xdotool
need_program

work_folder vektrano-e2e
program_folder

# The town database, which the program refuses to start without.
printf 'JO70PO Koz\xe1kov\r\n' >"$HOME_DIR/vektrano.zr4"

# A described log without contacts (name, place and locator filled in), in
# cp1250 with CR LF.
TITLE='JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n'
CONTACT='JO70GQ;1;12:34:00;59;Petr;57;JO70PO;54;;\r\n'
LOG=$HOME_DIR/denik.qvl
printf "$TITLE" >"$LOG"
printf "$TITLE$CONTACT" >"$WORK/expected"

start_vektrano "$LOG"
activate "$WID"
sleep 0.5

typed "$LINE"
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
