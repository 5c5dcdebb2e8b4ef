#!/usr/bin/env bash
# The real program under the test display: exact title, icon and caption-only
# hints, a menu
# command that takes effect (Init Benchs changes the status bar), Quit exits
# with 0, and nothing is written to the working directory.
set -euo pipefail
exe=$1
[ -n "${DISPLAY:-}" ] || { echo "skipped: no display (scripts/run-tests starts Xvfb)"; exit 77; }
IM_CONVERT=/usr/bin/convert

work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
"$exe" &
pid=$!

win=$(timeout 20 xdotool search --sync --name '^VELMARK 3' | head -n1)
title=$(xprop -id "$win" WM_NAME)
expected='WM_NAME(STRING) = "VELMARK 3 by TALVO (version 1.0 - dec 2002)"'
[ "$title" = "$expected" ] || { echo "title: $title"; exit 1; }
xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || { echo "no 32 x 32 window icon"; exit 1; }
# A caption only: no minimise, maximise or resize, and a fixed size.
hints=$(xprop -id "$win" _MOTIF_WM_HINTS)
[ "$hints" = "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x24, 0x1a, 0x0, 0x0" ] || { echo "$hints"; exit 1; }
sizes=$(xprop -id "$win" WM_NORMAL_HINTS | awk -F': ' '/(minimum|maximum) size/ {print $2}' | uniq)
[ "$(echo "$sizes" | wc -l)" -eq 1 ] && [ -n "$sizes" ] || { echo "resizable: $sizes"; exit 1; }

height=$(xwininfo -id "$win" | awk '/Height:/ {print $2}')
status_pixels() {
  import -window "$win" png:- | "$IM_CONVERT" png:- -crop "600x18+2+$((height - 20))" rgb:- | md5sum
}
sleep 0.5
idle=$(status_pixels)

# BenchMark > Init Benchs
xdotool mousemove --window "$win" 35 12 click 1
sleep 0.4
xdotool mousemove --window "$win" 45 56 click 1
sleep 1.5
running=$(status_pixels)
[ "$idle" != "$running" ] || { echo "status bar did not change after Init Benchs"; exit 1; }

# Other > Quit
xdotool mousemove --window "$win" 190 12 click 1
sleep 0.4
xdotool mousemove --window "$win" 185 77 click 1
rc=0
timeout 10 tail --pid="$pid" -f /dev/null || { echo "program did not quit"; exit 1; }
wait "$pid" || rc=$?
[ "$rc" -eq 0 ] || { echo "exit code $rc"; exit 1; }
[ -z "$(ls -A "$work")" ] || { echo "files written: $(ls -A "$work")"; exit 1; }
echo "start, Init Benchs and Quit: ok"
