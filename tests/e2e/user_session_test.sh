#!/usr/bin/env bash
# A whole session as a user clicks it: Bench Settings (2 seconds, scenes 1,
# 6 and 9), Init Benchs, Graphic Results, Text Results, Save Results, Faq,
# Tanks to.., Main Screen, Quit, in a directory seeded with the shipped files.
# The saved record must read back whole, after the records already there.
# With SHOTS=dir the screens are also saved there (scripts/take-screenshots).
set -euo pipefail
exe=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "skipped: no display (scripts/run-tests starts Xvfb)"; exit 77; }

work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cp "$top/data/"* "$work/"
cd "$work"
before=$(cat results.txt 2>/dev/null || true)
base=$(wc -l <results.txt 2>/dev/null || echo 0)
"$exe" &
pid=$!
win=$(timeout 20 xdotool search --sync --name '^VELMARK 3' | head -n1)

menu() {  # X Y of the pop-up, then X Y of the entry
  xdotool mousemove --window "$win" "$1" "$2" click 1
  sleep 0.4
  xdotool mousemove --window "$win" "$3" "$4" click 1
  xdotool mousemove --window "$win" 900 700 2>/dev/null || true
  sleep 0.5
}
dialog() {  # waits for the dialog captioned $1
  timeout 10 xdotool search --sync --name "^$1\$" | head -n1
}
shot() {
  if [ -n "${SHOTS:-}" ]; then import -window "${2:-$win}" "$SHOTS/$1.png"; fi
}
fail() { echo "$1"; exit 1; }
# Clicks the point (X, Y) in dialog units of a dialog W x H units large.
click_dlu() {  # window X Y W H
  local geo w h
  geo=$(xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}')
  w=${geo%x*}
  h=${geo#*x}
  xdotool mousemove --window "$1" $(($2 * w / $4)) $(($3 * h / $5)) click 1
}

menu 35 12 45 33  # BenchMark > Bench Settings
dlg=$(dialog "BenchMark Settings")
[ -n "$dlg" ] || fail "no settings dialog"
sleep 0.3
xdotool mousemove --window "$dlg" 177 354 click 1  # Select None
sleep 0.2
xdotool mousemove --window "$dlg" 100 155 click 1  # scene 1
xdotool keydown ctrl mousemove --window "$dlg" 100 240 click 1 mousemove --window "$dlg" 100 291 click 1 keyup ctrl
sleep 0.2
shot settings "$dlg"
xdotool mousemove --window "$dlg" 210 413 click 1  # OK
sleep 0.5

menu 35 12 45 56  # BenchMark > Init Benchs
sleep 2.5
shot scene
sleep 6.5  # three scenes of two seconds, and then some

menu 130 12 140 56  # Results > Graphic Results
sleep 1.5
shot graphic-results

menu 130 12 140 77  # Results > Text Results
dlg=$(dialog "Text Results")
[ -n "$dlg" ] || fail "no text results dialog"
sleep 0.5
shot text-results "$dlg"
click_dlu "$dlg" 168 225 517 239  # OK
sleep 0.5

menu 130 12 140 35  # Results > Save Results
dlg=$(dialog "Save Results")
[ -n "$dlg" ] || fail "no save dialog (was the run complete?)"
sleep 0.3
click_dlu "$dlg" 165 20 275 198  # into Computer Name
xdotool type "e2e box"
click_dlu "$dlg" 243 114 275 198  # OK
sleep 0.5
[ -f results.txt ] || fail "Save Results wrote nothing"
[ "$(wc -l <results.txt)" -eq $((base + 36)) ] || fail "record of $(($(wc -l <results.txt) - base)) lines"
[ "$(head -n "$base" results.txt)" = "$before" ] || fail "the records already there changed"
[ "$(sed -n "$((base + 3))p" results.txt)" = "E2E BOX" ] || fail "name line: $(sed -n "$((base + 3))p" results.txt)"
# Scenes 1, 6 and 9 ran: their rates are measured, the others are not.
for scene in 1 2 6 9 10; do
  line=$((base + 12 + scene))
  want=0
  case $scene in 1 | 6 | 9) want=1 ;; esac
  awk -v n=$line -v w=$want 'NR == n { exit !(($1 > 0) == w) }' results.txt ||
    fail "scene $scene: rate $(sed -n "${line}p" results.txt)"
done

menu 190 12 185 55  # Other > Faq
dlg=$(dialog "FAQ")
[ -n "$dlg" ] || fail "no FAQ dialog"
sleep 0.3
shot faq "$dlg"
click_dlu "$dlg" 231 148 263 162  # OK
sleep 0.5

menu 190 12 185 33  # Other > Tanks to..
sleep 1.5
shot thanks
menu 130 12 140 99  # Results > Main Screen
sleep 1
shot intro

menu 190 12 185 77  # Other > Quit
timeout 10 tail --pid="$pid" -f /dev/null || fail "program did not quit"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "user session: ok"
