#!/usr/bin/env bash
# The print window in a real X server: under Xvfb the window test's
# screenshot check runs on the xcb platform (the window with its preview of a
# laid-out log, grabbed from the screen). Exit 77 skips when Xvfb is missing.
#
#   xvfb_print_window.sh path/to/windows_test_print_window [screenshot.png]
set -euo pipefail

bin=${1:?test program}
shot=${2:-}
[ -x "$bin" ] || { echo "no test program at $bin" >&2; exit 2; }
command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing" >&2; exit 77; }

work=$(mktemp -d /tmp/vektrano-xvfb-print-XXXXXX)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb VEKTRANO_MESSAGES=stderr
export PRINT_WINDOW_SHOT=${shot:-$work/print_window.png}
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$bin" --gtest_filter='PrintWindowTest.ScreenshotUnderXvfb' >"$work/out" 2>&1 || {
  cat "$work/out" >&2
  exit 1
}
if grep -q 'SKIPPED' "$work/out" || ! grep -q '\[  PASSED  \] 1 test' "$work/out"; then
  cat "$work/out" >&2
  echo "FAIL: the screenshot check did not run" >&2
  exit 1
fi
[ -s "$PRINT_WINDOW_SHOT" ] || { echo "FAIL: no screenshot" >&2; exit 1; }
echo "screenshot check passed"
