#!/usr/bin/env bash
# The tool windows' placement under a real window manager:
# xvfb_window_placement.sh <check program> runs it under Xvfb with openbox,
# which frames every window as a desktop does. Exit 77 skips when a tool is
# missing.
set -u
prog=${1:?the check program}
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$prog"
fi
for tool in openbox xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null' EXIT
# The window manager owns the screen once it has named itself on the root.
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
export QT_QPA_PLATFORM=xcb VEKTRANO_MESSAGES=stderr
"$prog"
