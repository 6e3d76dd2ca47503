#!/usr/bin/env bash
# A new log started and kept with the keyboard only, in the real program
# under Xvfb with xdotool: Ctrl+N (the save dialog cancelled for the empty
# log), the description window filled in and confirmed, three contacts
# typed (the third takes its town from the place list with F2 and Space),
# Ctrl+F8 takes the third back, and Ctrl+U saves the log under a chosen
# name. The chosen file holds exactly the title line and the two contacts;
# the log the description named still holds all three (the take-back writes
# nothing).
#
# The place search reads the town database in memory mode, so a first run
# only writes the settings, which are then given MenuRam=1.
#
# Usage: e2e_commands.sh [path/to/vektrano]   (starts its own display when
#        none is set). Exit status 0 when everything holds, 77 when a tool
#        is missing.
set -u
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:-$BUILT/vektrano}

own_display 1024x768 "$PROGRAM"
need xdotool
need_program

work_folder vektrano-e2e-commands
program_folder
DATA=$HOME_DIR/UlozisteDat
mkdir -p "$DATA"

printf 'JO70GQ;Praha\r\nJO60LJ;Kl\xednovec\r\nJN99JM;\xdaterý\r\n' >"$HOME_DIR/vektrano.zr4"

start() {
  start_vektrano
  activate "$WID"
  sleep 0.5
}
stop() {
  xdotool key --clearmodifiers alt+s
  sleep 0.5
  xdotool key k
  program_ends "the program did not end"
}
# Waits until a window whose name matches $1 is visible; its id in $FOUND.
await() { FOUND=$(window_named "$1") || fail "no window named $1"; }
gone() { window_gone "$1" || fail "the window $1 stayed open"; }
focus() {  # without a window manager the keyboard goes where it is sent
  activate "$1" 2>/dev/null
  sleep 0.3
}

# A first run writes the settings; then memory mode for the searches.
start
stop
grep -qa 'I MenuRam=0' "$WORK/config/NOVR/registry" || fail "no MenuRam in the settings"
sed -i 's/I MenuRam=0/I MenuRam=1/' "$WORK/config/NOVR/registry"

start
# Ctrl+N: the save dialog for the empty log is cancelled; the description
# window follows.
xdotool key --clearmodifiers ctrl+n
await 'Zvol jm'
focus "$FOUND"
xdotool key Escape
gone 'Zvol jm'
await 'údaje o expedici'
focus "$FOUND"
typed 'Test'
xdotool key Tab
typed 'Kopec'
xdotool key Tab
typed 'jo70po'
xdotool key Tab Tab
xdotool key ctrl+a
typed '1.1.2025 10:00:00'
xdotool key --clearmodifiers alt+h
gone 'údaje o expedici'
NAMED=$DATA/TEST_JO70PO_KOPEC_1_1_2025_10_00_00.qvl
for _ in $(seq 1 50); do [ -e "$NAMED" ] && break; sleep 0.1; done
[ -e "$NAMED" ] || { ls -l "$DATA"; fail "the new log was not named from its description"; }

focus "$WID"
# The time goes last: a Space typed after a time would meet the blank the
# time leaves behind it.
typed '59 57 ok1abc jo60lj 1200'
xdotool key Return
sleep 0.5
typed '59 59 ok2xyz jn99jm 1205'
xdotool key Return
sleep 0.5
# The third in the towns mode: its town from the place list.
xdotool key F9
sleep 0.3
typed '59 55 ok3aa prah 1210'
sleep 2  # the search delay and the search
xdotool key F2
sleep 0.3
xdotool key space
sleep 0.5
xdotool key Return
for _ in $(seq 1 50); do
  [ "$(grep -c 'JO70PO;3;' "$NAMED")" = 1 ] && break
  sleep 0.1
done
grep -qa 'JO70PO;3;12:10:00;59;Ok3aa Praha;55;JO70GQ;54;;' "$NAMED" || {
  od -c "$NAMED" | tail -20; fail "the third contact did not take its town"; }

# Ctrl+F8 takes it back; the log on disk still holds it.
xdotool key --clearmodifiers ctrl+F8
sleep 0.5
grep -qa 'JO70PO;3;' "$NAMED" || fail "the take-back wrote the log"
grep -qa 'JO70PO;3;' "$HOME_DIR/zaloha.qvl" || fail "the take-back wrote the crash backup"

# Ctrl+U under a chosen name.
CHOSEN=$DATA/vybrany.qvl
xdotool key --clearmodifiers ctrl+u
await 'Zvol jm'
focus "$FOUND"
xdotool key ctrl+a
typed "$CHOSEN"
# Return goes to the dialog window itself: its release must not reach the
# entry line, which holds the contact taken back, once the dialog is gone.
xdotool key --window "$FOUND" Return
gone 'Zvol jm'
for _ in $(seq 1 50); do [ -e "$CHOSEN" ] && break; sleep 0.1; done

TITLE='JO70PO;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70PO;;1.1.2025 10:00:00;;;;;;;;;\r\n'
ONE="JO70PO;1;12:00:00;59;Ok1abc;57;JO60LJ;167;;\r\n"
TWO="JO70PO;2;12:05:00;59;Ok2xyz;59;JN99JM;277;;\r\n"
printf "$TITLE$ONE$TWO" >"$WORK/expected"
cmp -s "$CHOSEN" "$WORK/expected" || {
  echo "--- chosen file:"; od -c "$CHOSEN" | head -40
  echo "--- expected:"; od -c "$WORK/expected" | head -40
  fail "the saved log does not hold exactly the expected lines"
}
# The log the description named keeps the contact taken back.
[ "$(grep -ca 'JO70PO;3;12:10:00;' "$NAMED")" = 1 ] || fail "the named log lost its third contact"
echo "e2e: ok"
exit 0
