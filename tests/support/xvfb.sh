# shellcheck shell=bash
# What the scripts that drive the real programs in a real X server (Xvfb,
# openbox, xdotool) share. Sourced, never run, at the top of a script:
#
#   . "$(dirname "$0")/../support/xvfb.sh"
#
# A script names its program in PROGRAM (built ones lie in $BUILT) and may
# give SHOTS, a folder for screenshots. The helpers keep the program's id in
# PID, its main window's in WID, the window manager's in WM and the work
# folder in WORK; when the script ends, the trap set here ends the first and
# the third and removes the folder (a script with more to end sets a trap of
# its own that calls cleanup).

BUILT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/bin
PID= WID= WM= WORK= SHOTS= OUTPUT_LINES=

cleanup() {
  [ -n "$PID" ] && { kill -9 "$PID"; wait "$PID"; } 2>/dev/null
  [ -n "$WM" ] && kill "$WM" 2>/dev/null
  [ -n "$WORK" ] && rm -rf "$WORK"
}
trap cleanup EXIT

# need TOOL...: the script is skipped (exit 77) when one is missing.
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
  done
}

need_program() {
  [ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }
}

# own_display [--always] WIDTHxHEIGHT ARG...: without a display (with
# --always, whatever the display is) the script runs again with the ARGs
# under xvfb-run, on a screen of its own of that size.
own_display() {
  if [ "$1" = --always ]; then
    shift
    [ -n "${VEKTRANO_OWN_SCREEN:-}" ] || unset DISPLAY
  fi
  [ -n "${DISPLAY:-}" ] && return 0
  need xvfb-run
  VEKTRANO_OWN_SCREEN=1 exec xvfb-run -a -s "-screen 0 ${1}x24" "$0" "${@:2}"
}

# work_folder NAME: a fresh folder in WORK, removed at the end.
work_folder() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX")
}

# shot NAME: the screen in SHOTS/NAME.png, when the script was given SHOTS.
shot() {
  [ -z "${SHOTS:-}" ] || { mkdir -p "$SHOTS" && import -window root "$SHOTS/$1.png" 2>/dev/null; }
}

# The program's output, its last OUTPUT_LINES lines when the script set that.
program_output() {
  echo "--- program output:"
  if [ -n "${OUTPUT_LINES:-}" ]; then tail -n "$OUTPUT_LINES" "$WORK/stderr"; else cat "$WORK/stderr"; fi 2>/dev/null
}

# fail TEXT: the check failed: why, the screen (with SHOTS), the program's
# output. A script with more to show defines its own.
fail() {
  echo "FAIL: $*"
  shot failure
  program_output
  exit 1
}

# window_manager: openbox frames the windows from now on, as a desktop does;
# it owns the screen once it has named itself on the root window (without
# xprop to see that, a second later).
window_manager() {
  need openbox
  openbox >/dev/null 2>&1 &
  WM=$!
  if ! command -v xprop >/dev/null; then
    sleep 1
    return
  fi
  for _ in $(seq 1 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
}

# program_folder: Vektrano's program folder HOME_DIR ($WORK/home) with the
# contact sound (a valid wave of no samples; the town database is the
# script's), a user's settings, data and runtime folders of its own, the test
# hooks on, no input method. Message boxes go to the output;
# real_message_boxes shows them.
program_folder() {
  HOME_DIR=$WORK/home
  mkdir -p "$HOME_DIR" "$WORK/config" "$WORK/data" "$WORK/run"
  chmod 700 "$WORK/run"
  export VEKTRANO_HOME=$HOME_DIR XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
  export XDG_RUNTIME_DIR=$WORK/run VEKTRANO_MESSAGES=stderr VEKTRANO_TEST_HOOKS=1 QT_QPA_PLATFORM=xcb
  unset QT_IM_MODULE XMODIFIERS
  printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00data\x00\x00\x00\x00' \
    >"$HOME_DIR/vektrano.wav"
}

# Real message boxes: nothing may show one at start-up, so the help file is
# there.
real_message_boxes() {
  unset VEKTRANO_MESSAGES
  printf 'help' >"$HOME_DIR/vektrano.hlp"
}

# launch ARG...: the program started with the ARGs, its output in
# $WORK/stderr (emptied first: a wait must not find the last start's lines).
launch() {
  : >"$WORK/stderr"
  "$PROGRAM" "$@" 2>"$WORK/stderr" &
  PID=$!
}

# start_vektrano ARG...: launched and ready (its test hook says so), its
# main window in WID.
start_vektrano() {
  launch "$@"
  for _ in $(seq 1 300); do
    grep -q "vektrano-test: ready" "$WORK/stderr" && break
    kill -0 "$PID" 2>/dev/null || fail "the program ended during start-up"
    sleep 0.1
  done
  grep -q "vektrano-test: ready" "$WORK/stderr" || fail "the program did not get ready"
  WID=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$PID" --name 'NOVR' 2>/dev/null | head -1)
  [ -n "$WID" ] || fail "no main window"
}

# first_window: the program's first visible window in WID.
first_window() {
  WID=$(timeout 20 xdotool search --sync --onlyvisible --pid "$PID" 2>/dev/null | head -1)
  [ -n "$WID" ] || fail "no window of the program"
}

# activate WINDOW: in front with the keyboard (without a window manager the
# keyboard's focus alone).
activate() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
}

# windows_named CAPTION-REGEX: the program's visible windows of that caption
# but its main window (matched bytewise: a letter with a diacritic is two
# bytes).
windows_named() {
  xdotool search --all --onlyvisible --pid "$PID" --name "$1" 2>/dev/null | grep -vx "${WID:-}"
}
shown() { windows_named "$1" | grep -q .; }

# window_named CAPTION-REGEX: the first of them, once there is one.
window_named() {
  local w
  for _ in $(seq 1 50); do
    w=$(windows_named "$1" | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}

# window_gone CAPTION-REGEX: true once none is left.
window_gone() {
  for _ in $(seq 1 50); do
    shown "$1" || return 0
    sleep 0.2
  done
  return 1
}

# typed TEXT: typed as a person types, one key after another.
typed() {
  xdotool type --delay 60 "$1"
  sleep 0.3
}

# keys KEY...: pressed one after another as a hand does, no modifier held
# but a key's own.
keys() {
  local k
  for k in "$@"; do
    xdotool key --clearmodifiers "$k"
    sleep 0.4
  done
}

# program_ends TEXT [TENTHS]: the program ends within TENTHS tenths of a
# second (100), or the script fails with TEXT; its exit status in RC.
program_ends() {
  for _ in $(seq 1 "${2:-100}"); do
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$PID" 2>/dev/null && fail "$1"
  wait "$PID" 2>/dev/null
  RC=$?
  PID=
}

# above A B: window A stands above window B in the window manager's stacking
# order.
above() {
  local w i=0 ia=-1 ib=-1
  for w in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g'); do
    [ "$((w))" = "$(($1))" ] && ia=$i
    [ "$((w))" = "$(($2))" ] && ib=$i
    i=$((i + 1))
  done
  [ "$ib" -ge 0 ] && [ "$ia" -gt "$ib" ]
}
