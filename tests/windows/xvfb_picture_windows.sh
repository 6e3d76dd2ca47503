#!/usr/bin/env bash
# The picture windows in a real X server: xvfb_picture_windows.sh <program>
# runs the check program under Xvfb with Qt's xcb platform. Exit 77 skips
# when Xvfb is not installed.
set -u
. "$(dirname "$0")/../support/xvfb.sh"
prog=${1:?the check program}
own_display --always 1280x1024 "$prog"
export QT_QPA_PLATFORM=xcb VEKTRANO_MESSAGES=stderr
exec "$prog"
