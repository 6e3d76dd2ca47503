#!/usr/bin/env bash
# Palomir under a real X server with a window manager (openbox), its message
# boxes real: a described log of more than 3,000 contacts asks whether to
# look for duplicates before anything else. The question stays the topmost,
# active window, also after the moment the description list would open by
# itself; the list opens once the question is answered.
#
#   xvfb_palomir_question.sh [path/to/palomir]    exit 0 ok, 77 a tool missing
set -u
. "$(dirname "$0")/../../support/xvfb.sh"

PROGRAM=${1:-$BUILT/palomir}
own_display 1024x768 "$PROGRAM"
need xdotool xprop openbox
need_program

work_folder palomir-question

window_manager

mkdir -p "$WORK/config" "$WORK/data"
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data QT_QPA_PLATFORM=xcb
unset VEKTRANO_MESSAGES
LOG=$WORK/velky.qvl
{
  printf 'JO70GQ;po\xf8.;\xe8as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n'
  seq 1 3001 | awk '{printf "JO70GQ;%d;10:00;59;OK%d;59;JO70AA;1;;\r\n", $1, $1}'
} >"$LOG"

launch "$LOG"
first_window
xdotool windowactivate "$WID" 2>/dev/null

others() { xdotool search --onlyvisible --pid "$PID" 2>/dev/null | grep -vx "$WID"; }
top() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/.*, //'; }
active() { xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //'; }

BOX=
for _ in $(seq 1 100); do
  BOX=$(others | head -1)
  [ -n "$BOX" ] && break
  sleep 0.1
done
[ -n "$BOX" ] || fail "no question"
# Beyond the 1.5 s after which the list opens without an activation.
sleep 2.5
[ "$(others | wc -l)" -eq 1 ] || fail "a window opened over the question"
[ $(($(top))) -eq "$BOX" ] || fail "the question is not the topmost window"
[ $(($(active))) -eq "$BOX" ] || fail "the question is not the active window"
echo "ok: the question stands alone on top" >&2

xdotool key Return  # Yes
for _ in $(seq 1 100); do
  others | grep -qx "$BOX" || break
  sleep 0.1
done
others | grep -qx "$BOX" && fail "the question did not close"
for _ in $(seq 1 100); do
  [ -n "$(others)" ] && break
  sleep 0.1
done
[ -n "$(others)" ] || fail "the description list did not open after the question"
echo "the duplicate question came first; the description list opened after it"
exit 0
