#!/usr/bin/env bash
# The real program under the test display: exact title, icon and caption-only
# hints, a menu
# command that takes effect (Init Benchs changes the status bar), Quit exits
# with 0, and nothing is written to the working directory. Then, on a display
# without GLX, the reason on stderr and an exit once the message is closed.
set -euo pipefail
exe=$1
[ -n "${DISPLAY:-}" ] || { echo "skipped: no display (scripts/run-tests starts Xvfb)"; exit 77; }
. "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/../.." && pwd)
IM_CONVERT=/usr/bin/convert

work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
"$exe" &
pid=$!

win=$(window_of '^VELMARK 3') || fail "no main window"
title=$(xprop -id "$win" WM_NAME)
expected='WM_NAME(STRING) = "VELMARK 3 by TALVO (version 1.0 - dec 2002)"'
[ "$title" = "$expected" ] || fail "title: $title"
# The program sets its hints just after the window shows.
hints_set() { [ "$(xprop -id "$win" _MOTIF_WM_HINTS)" = "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x24, 0x1a, 0x0, 0x0" ]; }
# A caption only: no minimise, maximise or resize, and a fixed size.
wait_for 20 hints_set || fail "hints: $(xprop -id "$win" _MOTIF_WM_HINTS)"
xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "no 32 x 32 window icon"
sizes() { xprop -id "$win" WM_NORMAL_HINTS | awk -F': ' '/(minimum|maximum) size/ {print $2}' | uniq; }
fixed() { [ "$(sizes | wc -l)" -eq 1 ] && [ -n "$(sizes)" ]; }
wait_for 20 fixed || fail "resizable: $(sizes)"

height=$(xwininfo -id "$win" | awk '/Height:/ {print $2}')
status_pixels() {
  import -window "$win" png:- | "$IM_CONVERT" png:- -crop "600x18+2+$((height - 20))" rgb:- | md5sum
}
pronto() { idle=$(status_pixels) && [ "$(status_pixels)" = "$idle" ]; }
wait_for 20 pronto || fail "the status bar does not settle"

menu 35 12 45 56  # BenchMark > Init Benchs
running() { [ "$(status_pixels)" != "$idle" ]; }
wait_for 30 running || fail "status bar did not change after Init Benchs"

menu 190 12 185 77  # Other > Quit
timeout 20 tail --pid="$pid" -f /dev/null || fail "program did not quit"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc"
[ -z "$(ls -A "$work")" ] || fail "files written: $(ls -A "$work")"
echo "start, Init Benchs and Quit: ok"

# On a display without GLX the program says why on stderr, and once its
# message is closed it exits instead of leaving a dead window.
command -v Xvfb >/dev/null || exit 0
. "$top/scripts/xvfb.sh"
err=$(mktemp)
trap 'stop_x; [ -z "$pid" ] || kill $pid 2>/dev/null || true; rm -rf "$work" "$err"' EXIT
start_xvfb 1024x768 -extension GLX
"$exe" 2>"$err" &
pid=$!
box=$(window_of '^Velmark3$') || fail "no message without GLX: $(cat "$err")"
xdotool mousemove --window "$box" 20 20 key Return
timeout 20 tail --pid="$pid" -f /dev/null || fail "still running after the message without GLX"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 1 ] || fail "exit code $rc without GLX"
grep -q '^velmark3: no OpenGL context: the X display has no GLX extension' "$err" ||
  fail "stderr without GLX: $(cat "$err")"
echo "without GLX: says why and exits"
