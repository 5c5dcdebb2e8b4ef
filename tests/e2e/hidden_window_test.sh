#!/usr/bin/env bash
# The window has a caption only (no minimise, maximise or resize), and hiding
# it does not inflate the result: scene 1 is run twice, once in view and once
# with the window unmapped for most of the scene, and both saved rates must
# agree within a factor of 2.
set -euo pipefail
exe=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
: "${DISPLAY:?run through scripts/run-tests, which starts Xvfb}"

work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cp "$top/data/benchs.txt" "$work/"
cd "$work"
"$exe" &
pid=$!
win=$(timeout 20 xdotool search --sync --name '^VELMARK 3' | head -n1)
fail() { echo "$1"; exit 1; }

hints=$(xprop -id "$win" _MOTIF_WM_HINTS)
[ "$hints" = "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x24, 0x1a, 0x0, 0x0" ] || fail "hints: $hints"
sizes=$(xprop -id "$win" WM_NORMAL_HINTS)
least=$(echo "$sizes" | awk -F': ' '/minimum size/ {print $2}')
most=$(echo "$sizes" | awk -F': ' '/maximum size/ {print $2}')
[ -n "$least" ] && [ "$least" = "$most" ] || fail "the window can be resized: $sizes"

menu() {  # X Y of the pop-up, then X Y of the entry
  xdotool mousemove --window "$win" "$1" "$2" click 1
  sleep 0.4
  xdotool mousemove --window "$win" "$3" "$4" click 1
  xdotool mousemove --window "$win" 900 700 2>/dev/null || true
  sleep 0.5
}
dialog() {
  timeout 10 xdotool search --sync --name "^$1\$" | head -n1
}
click_dlu() {  # window X Y W H, in dialog units
  local geo w h
  geo=$(xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}')
  w=${geo%x*}
  h=${geo#*x}
  xdotool mousemove --window "$1" $(($2 * w / $4)) $(($3 * h / $5)) click 1
}
# Saves the run under the name $1 and prints its scene 1 rate.
save() {
  menu 130 12 140 35  # Results > Save Results
  local dlg
  dlg=$(dialog "Save Results")
  [ -n "$dlg" ] || fail "no save dialog (was the run complete?)"
  sleep 0.3
  click_dlu "$dlg" 165 20 275 198
  xdotool type "$1"
  click_dlu "$dlg" 243 114 275 198  # OK
  sleep 0.5
  awk -v name="$(echo "$1" | tr a-z A-Z)" '$0 == name { at = NR } at && NR == at + 10 { print; exit }' results.txt
}

menu 35 12 45 33  # BenchMark > Bench Settings: scene 1 only
dlg=$(dialog "BenchMark Settings")
[ -n "$dlg" ] || fail "no settings dialog"
sleep 0.3
xdotool mousemove --window "$dlg" 177 354 click 1  # Select None
sleep 0.2
xdotool mousemove --window "$dlg" 100 155 click 1  # scene 1
sleep 0.2
xdotool mousemove --window "$dlg" 210 413 click 1  # OK
sleep 0.5

menu 35 12 45 56  # Init Benchs, in view
sleep 4
shown=$(save "in view")

menu 35 12 45 56  # Init Benchs, then hidden for most of the scene
sleep 0.3
xdotool windowunmap "$win"
sleep 1.5
xdotool windowmap "$win"
sleep 3
hidden=$(save "hidden")

[ -n "$shown" ] && [ -n "$hidden" ] || fail "rates not saved: '$shown' '$hidden'"
awk -v a="$shown" -v b="$hidden" 'BEGIN { exit !(a > 0 && b > 0 && b <= 2 * a && a <= 2 * b) }' ||
  fail "scene 1 read $shown fps in view and $hidden fps hidden"

menu 190 12 185 77  # Other > Quit
timeout 10 tail --pid="$pid" -f /dev/null || fail "program did not quit"
pid=
echo "caption only; scene 1 at $shown fps in view and $hidden fps hidden: ok"
