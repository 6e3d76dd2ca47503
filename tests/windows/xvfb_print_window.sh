#!/usr/bin/env bash
# The print window in a real X server: under Xvfb the window test's
# screenshot check runs on the xcb platform (the window with its preview of a
# laid-out log, grabbed from the screen). Exit 77 skips when Xvfb is missing.
#
#   xvfb_print_window.sh path/to/windows_test_print_window [screenshot.png]
set -u
. "$(dirname "$0")/../support/xvfb.sh"

PROGRAM=${1:?test program}
shot=${2:-}
own_display --always 1280x1024 "$PROGRAM" "$shot"
need_program

work_folder vektrano-xvfb-print
export QT_QPA_PLATFORM=xcb VEKTRANO_MESSAGES=stderr
export PRINT_WINDOW_SHOT=${shot:-$WORK/print_window.png}
"$PROGRAM" --gtest_filter='PrintWindowTest.ScreenshotUnderXvfb' >"$WORK/out" 2>&1 || {
  cat "$WORK/out" >&2
  exit 1
}
if grep -q 'SKIPPED' "$WORK/out" || ! grep -q '\[  PASSED  \] 1 test' "$WORK/out"; then
  cat "$WORK/out" >&2
  echo "FAIL: the screenshot check did not run" >&2
  exit 1
fi
[ -s "$PRINT_WINDOW_SHOT" ] || { echo "FAIL: no screenshot" >&2; exit 1; }
echo "screenshot check passed"
