#!/usr/bin/env bash
# The tool windows' placement under a real window manager:
# xvfb_window_placement.sh <check program> runs it under Xvfb with openbox,
# which frames every window as a desktop does. Exit 77 skips when a tool is
# missing.
set -u
. "$(dirname "$0")/../support/xvfb.sh"
prog=${1:?the check program}
own_display 1280x1024 "$prog"
need openbox xprop
window_manager
export QT_QPA_PLATFORM=xcb VEKTRANO_MESSAGES=stderr
"$prog"
