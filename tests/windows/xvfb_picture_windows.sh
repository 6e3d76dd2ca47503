#!/usr/bin/env bash
# The picture windows in a real X server: xvfb_picture_windows.sh <program>
# runs the check program under Xvfb with Qt's xcb platform. Exit 77 skips
# when Xvfb is not installed.
set -euo pipefail
prog=${1:?the check program}
command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing" >&2; exit 77; }
export QT_QPA_PLATFORM=xcb VEKTRANO_MESSAGES=stderr
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$prog"
