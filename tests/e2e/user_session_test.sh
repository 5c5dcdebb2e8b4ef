#!/usr/bin/env bash
# A whole session as a user clicks it: Bench Settings (2 seconds, scenes 1,
# 6 and 9), Init Benchs, Graphic Results, Text Results, Save Results, Faq,
# Tanks to.., Main Screen, Quit, in a directory seeded with the shipped files.
# The saved record must read back whole, after the records already there; a
# second run with the window hidden for a while must save a like rate.
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
# The pixel point of (X, Y) in dialog units of a dialog W x H units large.
dlu() {  # window X Y W H
  local geo
  geo=$(xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}')
  echo $(($2 * ${geo%x*} / $4)) $(($3 * ${geo#*x} / $5))
}
click_dlu() { xdotool mousemove --window "$1" $(dlu "$@") click 1; }
# One line per pixel row of the area X Y W H (pixels) of window $1: 1 where
# the row holds anything but white.
ink() {
  import -window "$1" "$work/shot.png"
  convert "$work/shot.png" -crop "$4x$5+$2+$3" +repage -negate -scale '1x!' -threshold 0 txt:- |
    awk 'NR > 1 { print ($0 ~ /#000000/) ? 0 : 1 }'
}
settles() {  # VALUE COMMAND...: waits up to 5 s for the command to print the value
  local i
  for i in $(seq 20); do [ "$("${@:2}")" = "$1" ] && return 0; sleep 0.25; done
  return 1
}

menu 35 12 45 33  # BenchMark > Bench Settings
dlg=$(dialog "BenchMark Settings")
[ -n "$dlg" ] || fail "no settings dialog"
sleep 0.3
click_dlu "$dlg" 81 167 260 209  # Select None
sleep 0.2
click_dlu "$dlg" 100 72 260 209                # scene 1, then with Ctrl
xdotool keydown ctrl mousemove --window "$dlg" $(dlu "$dlg" 100 107 260 209) click 1 \
  mousemove --window "$dlg" $(dlu "$dlg" 100 128 260 209) click 1 keyup ctrl  # 6 and 9
sleep 0.2
shot settings "$dlg"
click_dlu "$dlg" 104 195 260 209  # OK
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
# The comparison as the user double-clicks it. A ranking line is reached with
# the arrow keys and double-clicked where its selection shows; the compare
# list is read back as its count of text lines.
read -r rx ry rw rh cx cy cw ch < <(for r in '7 7' '321 121' '329 7' '181 225'; do dlu "$dlg" $r 517 239; done | xargs)
compared() { ink "$dlg" $((cx + 4)) $((cy + 4)) $((cw - 8)) $((ch - 8)) | awk '$1 && !p { n++ } { p = $1 } END { print n + 0 }'; }
selected_y() { ink "$dlg" $((rx + 4)) $((ry + 4)) 1 $((rh - 8)) | awk -v y="$ry" '$1 { s += NR; n++ } END { print y + 3 + int(s / n) }'; }
at=0
pick() {  # ranking line, below the one selected
  if [ "$1" -gt "$at" ]; then
    local y0
    y0=$(selected_y)
    xdotool mousemove --window "$dlg" $((rx + rw / 2)) "$y0" click 1 key --repeat $(($1 - at)) --delay 20 Down
    at=$1
    for y in $(seq 20); do [ "$(selected_y)" != "$y0" ] && break; sleep 0.25; done
  fi
  xdotool mousemove --window "$dlg" $((rx + rw / 2)) "$(selected_y)" click --repeat 2 --delay 80 1
  sleep 1.2  # past the double-click time
}
message() { xdotool search --name '^Velmark3$' | head -n1; }
xdotool mousemove --window "$dlg" $((rx + rw / 2)) $((ry + 9)) click 1  # line 0
sleep 1.2
pick 2  # a description line of the first machine
settles 1 compared || fail "first choice: $(compared) compare lines"
pick 12  # a scene line of the same machine
timeout 5 xdotool search --sync --name '^Velmark3$' >/dev/null || fail "no same-computer message"
xdotool key Return  # the message box opens under the pointer
settles "" message || fail "the message box stays"
[ "$(compared)" -eq 1 ] || fail "same machine: $(compared) compare lines"
click_dlu "$dlg" 295 225 517 239  # Clear Compare List
settles 0 compared || fail "cleared: $(compared) compare lines"
pick 40  # the second machine completes the comparison: no first line
settles 26 compared || fail "second choice: $(compared) compare lines"
pick 40  # the line is already selected: one double-click, a new first choice
settles 27 compared || fail "new first choice: $(compared) compare lines"
[ -z "$(message)" ] || fail "a double-click was taken twice"
shot text-results "$dlg"
click_dlu "$dlg" 168 225 517 239  # OK
sleep 0.5

menu 130 12 140 35  # Results > Save Results
dlg=$(dialog "Save Results")
[ -n "$dlg" ] || fail "no save dialog (was the run complete?)"
sleep 0.3
click_dlu "$dlg" 165 20 275 198  # into Computer Name
xdotool type "e2e box"
shot save-results "$dlg"
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
# The run is kept in the history with its frame times; the runner reports it.
[ "$(ls runs/*.json 2>/dev/null | wc -l)" -eq 1 ] || fail "the run was not kept in runs/"
"$(dirname "$exe")/velmark3-cli" report --last 1 -o report.html 2>/dev/null || fail "report --last 1"
grep -q 'id="frame-chart"' report.html || fail "no frame times in the report"

# The same run again with the window unmapped for most of scene 1: a hidden
# window must not inflate the rate (ticks it could not draw do not count).
menu 35 12 45 56  # BenchMark > Init Benchs
sleep 0.3
xdotool windowunmap "$win"
sleep 1.5
xdotool windowmap "$win"
sleep 7.5
menu 130 12 140 35  # Results > Save Results
dlg=$(dialog "Save Results")
[ -n "$dlg" ] || fail "no save dialog after the hidden run"
sleep 0.3
click_dlu "$dlg" 165 20 275 198
xdotool type "hidden"
click_dlu "$dlg" 243 114 275 198  # OK
sleep 0.5
shown=$(sed -n "$((base + 13))p" results.txt)
hidden=$(sed -n "$((base + 36 + 13))p" results.txt)
awk -v a="$shown" -v b="$hidden" 'BEGIN { exit !(a > 0 && b > 0 && b <= 2 * a && a <= 2 * b) }' ||
  fail "scene 1 read $shown fps in view and $hidden fps hidden"

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

# Each lock key lights and puts out its own indicator (MA, NUM, BS) and no
# other; AltGr held lights none. Scroll Lock has a light only where the keymap
# gives it a modifier, as many desktops do: this display gets one.
xkbcomp -xkb "$DISPLAY" - 2>/dev/null |
  sed 's/^\( *\)modifier_map Mod5 { <LVL3> };/&\n\1modifier_map Mod3 { <SCLK> };/' |
  xkbcomp - "$DISPLAY" 2>/dev/null
lights() {  # e.g. 010: only NUM shows its text
  read -r ww wh < <(xdotool getwindowgeometry "$win" | awk '/Geometry/ { sub("x", " ", $2); print $2 }')
  import -window "$win" "$work/shot.png"
  for i in 3 2 1; do
    convert "$work/shot.png" -crop "34x16+$((ww - 41 * i + 3))+$((wh - 19))" +repage -format '%k\n' info:
  done | awk '{ printf "%d", ($1 > 1) } END { print "" }'
}
before=$(lights)
changed() { echo "$before $(lights)" | awk '{ for (i = 1; i <= 3; i++) printf "%d", substr($1, i, 1) != substr($2, i, 1) }'; }
for case in Caps_Lock:100 Num_Lock:010 Scroll_Lock:001 ISO_Level3_Shift:000; do
  xdotool keydown "${case%:*}"
  sleep 0.5
  settles "${case#*:}" changed || fail "${case%:*}: $(changed) changed of MA NUM BS"
  xdotool keyup "${case%:*}" key "${case%:*}"  # AltGr let go, a lock put out
  settles 000 changed || fail "${case%:*} again: $(changed) changed of MA NUM BS"
done

menu 190 12 185 77  # Other > Quit
timeout 10 tail --pid="$pid" -f /dev/null || fail "program did not quit"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "user session: ok"
