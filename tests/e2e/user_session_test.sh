#!/usr/bin/env bash
# A whole session as a user clicks it, in a directory seeded with the shipped
# files: Bench Settings (scenes 1, 6 and 9; all 24 with SHOTS), Init Benchs,
# Graphic Results, Text Results, Save Results (a partial run is asked about
# first), Faq, Tanks to.., Main Screen, a second run of scene 1 with the
# window hidden for a while, an accented name in Graphic Results, the lock
# indicators, F10, Quit. Under a window manager (openbox_session_test.sh) it also
# checks the maximised window and the dialogs' type.
# With SHOTS=dir the screens are also saved there (scripts/take-screenshots).
set -euo pipefail
exe=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "skipped: no display (scripts/run-tests starts Xvfb)"; exit 77; }
. "$top/tests/e2e/lib.sh"

work=$(mktemp -d)
trace=$(mktemp)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work" "$trace"' EXIT
cp "$top/data/"* "$work/"
cd "$work"
before=$(cat results.txt 2>/dev/null || true)
base=$(wc -l <results.txt 2>/dev/null || echo 0)
wm=
if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then wm=1; fi

VELMARK3_TRACE_FRAMES=1 "$exe" 2>"$trace" &
pid=$!
win=$(window_of '^VELMARK 3') || fail "no main window"

shot() {
  if [ -n "${SHOTS:-}" ]; then import -window "${2:-$win}" "$SHOTS/$1.png"; fi
}
# x y w h of a window on the screen.
geometry() { xdotool getwindowgeometry "$1" | awk '/Position/ { sub(",", " ", $2); p = $2 } /Geometry/ { sub("x", " ", $2); print p, $2 }'; }
# A dialog or message box opens centred on the main window (a window
# manager's frame may shift it by its title bar).
centred() {
  local mx my mw mh dx dy dw dh
  read -r mx my mw mh < <(geometry "$win")
  read -r dx dy dw dh < <(geometry "$1")
  local ox=$((dx + dw / 2 - mx - mw / 2)) oy=$((dy + dh / 2 - my - mh / 2))
  [ ${ox#-} -le 30 ] && [ ${oy#-} -le 30 ] || fail "$2 opens ${ox},${oy} px off the main window's centre"
}
# A dialog of the main window for the window manager: of the dialog type,
# transient for the main window, with no maximise.
dialog_kind() {
  [ -n "$wm" ] || return 0
  local props
  props=$(xprop -id "$1" _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR _NET_WM_ALLOWED_ACTIONS)
  [[ $props == *_NET_WM_WINDOW_TYPE_DIALOG* ]] || fail "$2 is no dialog: $props"
  [[ $props == *"window id # $(printf '0x%x' "$win")"* ]] || fail "$2 is not transient for the main window: $props"
  [[ $props != *_NET_WM_ACTION_MAXIMIZE* ]] || fail "$2 can be maximised: $props"
}
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
settles() {  # VALUE COMMAND...: waits up to 10 s for the command to print the value
  local end=$((SECONDS + 10))
  until [ "$("${@:2}")" = "$1" ]; do [ $SECONDS -lt $end ] || return 1; sleep 0.2; done
}
# The view (between menu bar and status bar) as a checksum, and a wait for
# a picture that has settled and differs from $1.
view() {
  local w h
  read -r _ _ w h < <(geometry "$win")
  import -window "$win" png:- | convert png:- -crop "${w}x$((h - 47))+0+25" +repage "${1:-rgb}:-"
}
view_sum() { view | md5sum; }
new_still_view() {
  local a b end=$((SECONDS + 30))
  while [ $SECONDS -lt $end ]; do
    a=$(view_sum)
    sleep 0.2
    b=$(view_sum)
    [ "$a" = "$b" ] && [ "$a" != "$1" ] && return 0
  done
  return 1
}
view_changed() { [ "$(view_sum)" != "$1" ]; }
gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
close_with() {  # window, then the xdotool arguments that close it
  local w=$1
  shift
  xdotool "$@"
  wait_for 20 gone "$w" || fail "window $w stays open"
}
# Trace lines of the benchmark (one per frame counted, and each run's end)
# after line $1.
frames_since() { tail -n "+$(($1 + 1))" "$trace" | grep -c "^velmark3: scene $2 frame" || true; }
traced() { tail -n "+$(($1 + 1))" "$trace" | grep -q "^velmark3: $2"; }
run_to_end() {  # trace line before the run, deadline in seconds
  wait_for "$2" traced "$1" "run complete" || fail "the run did not end within $2 s"
}
# Settings: with SHOTS all 24 scenes, otherwise only those given (1-based).
settings() {
  menu 35 12 45 33  # BenchMark > Bench Settings
  local dlg scene
  dlg=$(window_of '^BenchMark Settings$') || fail "no settings dialog"
  dialog_kind "$dlg" "Bench Settings"
  centred "$dlg" "Bench Settings"
  if [ $# -gt 0 ]; then
    click_dlu "$dlg" 81 167 260 209  # Select None
    xdotool keydown ctrl
    for scene in "$@"; do
      xdotool mousemove --window "$dlg" $(dlu "$dlg" 100 $((72 + (scene - 1) * 7)) 260 209) click 1
    done
    xdotool keyup ctrl
  fi
  [ $# -gt 0 ] || shot settings "$dlg"
  close_with "$dlg" mousemove --window "$dlg" $(dlu "$dlg" 104 195 260 209) click 1  # OK
}
question() {  # the partial-save question: answered No (Return) or yes (its button)
  local box w h
  box=$(window_of '^Velmark3$') || fail "Save Results asked nothing about a partial run"
  centred "$box" "the partial-save question"
  dialog_kind "$box" "the partial-save question"
  shot partial-save "$box"
  if [ "$1" = yes ]; then
    read -r _ _ w h < <(geometry "$box")
    close_with "$box" mousemove --window "$box" $((w - 155)) $((h - 22)) click 1
  else
    close_with "$box" mousemove --window "$box" 20 20 key Return
  fi
}
save_form() {  # types the name, then the Other.. field, and saves; [picture]
  local dlg
  dlg=$(window_of '^Save Results$') || fail "no save dialog"
  dialog_kind "$dlg" "Save Results"
  # Keys only: a window manager may hold a click back behind later keys.
  # The pointer stays outside the form: the form takes the keyboard itself
  # (without a manager X would send the keys where the pointer is).
  xdotool mousemove --window "$win" 5 5
  focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$dlg" ]; }
  wait_for 10 focused || fail "the Save form has no keyboard focus ($(xdotool getwindowfocus))"
  xdotool type --delay 20 "$1"  # Computer Name has the focus
  xdotool key --repeat 9 --delay 20 Tab
  xdotool type --delay 5 "$2"  # into Other..
  [ -z "${3:-}" ] || shot "$3" "$dlg"
  close_with "$dlg" mousemove --window "$dlg" $(dlu "$dlg" 243 114 275 198) click 1  # OK
}

if [ -n "$wm" ]; then
  maximised() { xprop -id "$win" _NET_WM_STATE | grep -q MAXIMIZED_VERT.*MAXIMIZED_HORZ; }
  wait_for 20 maximised || fail "not maximised: $(xprop -id "$win" _NET_WM_STATE)"
fi

if [ -n "${SHOTS:-}" ]; then settings; else settings 1 6 9; fi
mark=$(wc -l <"$trace")
menu 35 12 45 56  # BenchMark > Init Benchs
wait_for 60 traced "$mark" "scene 6 frame 1" || fail "scene 6 drew no frame"
shot scene
run_to_end "$mark" $([ -n "${SHOTS:-}" ] && echo 900 || echo 120)

still=$(view_sum)
menu 130 12 140 56  # Results > Graphic Results
new_still_view "$still" || fail "Graphic Results did not show"
shot graphic-results

menu 130 12 140 77  # Results > Text Results
dlg=$(window_of '^Text Results$') || fail "no text results dialog"
dialog_kind "$dlg" "Text Results"
# The comparison as the user double-clicks it. A ranking line is reached with
# the arrow keys and double-clicked where its selection shows; the compare
# list is read back as its count of text lines.
read -r rx ry rw rh cx cy cw ch < <(for r in '7 7' '321 121' '329 7' '181 225'; do dlu "$dlg" $r 517 239; done | xargs)
compared() { ink "$dlg" $((cx + 4)) $((cy + 4)) $((cw - 8)) $((ch - 8)) | awk '$1 && !p { n++ } { p = $1 } END { print n + 0 }'; }
selected_y() { ink "$dlg" $((rx + 4)) $((ry + 4)) 1 $((rh - 8)) | awk -v y="$ry" '$1 { s += NR; n++ } END { print y + 3 + int(s / n) }'; }
# Clicks further apart than the double-click time (input timing, not a
# wait for the program).
apart() { sleep 1.2; }
at=0
pick() {  # ranking line, below the one selected
  if [ "$1" -gt "$at" ]; then
    local y0
    y0=$(selected_y)
    xdotool mousemove --window "$dlg" $((rx + rw / 2)) "$y0" click 1 key --repeat $(($1 - at)) --delay 20 Down
    at=$1
    moved() { [ "$(selected_y)" != "$y0" ]; }
    wait_for 10 moved || fail "the selection did not move to line $1"
  fi
  apart
  xdotool mousemove --window "$dlg" $((rx + rw / 2)) "$(selected_y)" click --repeat 2 --delay 80 1
  apart
}
xdotool mousemove --window "$dlg" $((rx + rw / 2)) $((ry + 9)) click 1  # line 0
apart
pick 2  # a description line of the first machine
settles 1 compared || fail "first choice: $(compared) compare lines"
pick 12  # a scene line of the same machine
box=$(window_of '^Velmark3$') || fail "no same-computer message"
centred "$box" "the same-computer message"
close_with "$box" mousemove --window "$box" 20 20 key Return
# Read once the list is drawn again where the message covered it.
settles 1 compared || fail "same machine: $(compared) compare lines"
click_dlu "$dlg" 295 225 517 239  # Clear Compare List
settles 0 compared || fail "cleared: $(compared) compare lines"
pick 40  # the second machine completes the comparison: no first line
settles 26 compared || fail "second choice: $(compared) compare lines"
xdotool mousemove --window "$dlg" $((cx + cw / 2)) $((cy + ch / 2)) click --repeat 40 4  # to the first line
shot text-results "$dlg"
pick 40  # the line is already selected: one double-click, a new first choice
settles 27 compared || fail "new first choice: $(compared) compare lines"
no_window '^Velmark3$' || fail "a double-click was taken twice"
close_with "$dlg" mousemove --window "$dlg" $(dlu "$dlg" 168 225 517 239) click 1  # OK

# Save Results: a partial run is asked about first; No saves nothing, Yes
# opens the form. A field stops taking input at its limit of 126 bytes.
long=$(printf 'x%.0s' $(seq 130))
if [ -z "${SHOTS:-}" ]; then
  menu 130 12 140 35  # Results > Save Results
  question no
  menu 130 12 140 35
  question yes
else
  menu 130 12 140 35
fi
# Typed in ASCII: xdotool types other letters by remapping a key for a moment,
# which a loaded machine can read after the mapping is gone. Accented names
# are drawn from records below, and upper-cased by the edit rules' tests.
save_form "e2e box" "$long" save-results
lines() { wc -l <results.txt; }
settles $((base + 36)) lines || fail "record of $(($(lines) - base)) lines"
[ "$(head -n "$base" results.txt)" = "$before" ] || fail "the records already there changed"
[ "$(sed -n "$((base + 3))p" results.txt)" = "E2E BOX" ] || fail "name line: $(sed -n "$((base + 3))p" results.txt)"
other=$(sed -n "$((base + 12))p" results.txt)
[ "$other" = "$(printf 'X%.0s' $(seq 126))" ] || fail "Other.. line of ${#other} bytes: $other"
# The scenes that ran are measured, the others are not.
for scene in 1 2 6 9 10; do
  line=$((base + 12 + scene))
  want=0
  case $scene in 1 | 6 | 9) want=1 ;; *) [ -z "${SHOTS:-}" ] || want=1 ;; esac
  awk -v n=$line -v w=$want 'NR == n { exit !(($1 > 0) == w) }' results.txt ||
    fail "scene $scene: rate $(sed -n "${line}p" results.txt)"
done
# The run is kept in the history with its frame times; the runner reports it.
[ "$(ls runs/*.json 2>/dev/null | wc -l)" -eq 1 ] || fail "the run was not kept in runs/"
"$(dirname "$exe")/velmark3-cli" report --last 1 -o report.html 2>/dev/null || fail "report --last 1"
grep -q 'id="frame-chart"' report.html || fail "no frame times in the report"

menu 190 12 185 55  # Other > Faq
dlg=$(window_of '^FAQ$') || fail "no FAQ dialog"
dialog_kind "$dlg" "Faq"
shot faq "$dlg"
close_with "$dlg" mousemove --window "$dlg" $(dlu "$dlg" 231 148 263 162) click 1  # OK

still=$(view_sum)
menu 190 12 185 33  # Other > Tanks to..
wait_for 20 view_changed "$still" || fail "the thanks screen did not show"
shot thanks
still=$(view_sum)
menu 130 12 140 99  # Results > Main Screen
wait_for 20 view_changed "$still" || fail "the intro did not show"
shot intro

# Scene 1 again with the window hidden (unmapped, or minimised under a window
# manager) for a while: no frame is counted while it is hidden, and the view
# is drawn again once it is back.
settings 1
mark=$(wc -l <"$trace")
menu 35 12 45 56  # BenchMark > Init Benchs
wait_for 30 traced "$mark" "scene 1 frame 2" || fail "scene 1 drew no second frame"
if [ -n "$wm" ]; then xdotool windowminimize --sync "$win"; else xdotool windowunmap --sync "$win"; fi
unmapped() { xwininfo -id "$win" | grep -q IsUnMapped; }
wait_for 10 unmapped || fail "the window stays mapped"
hidden=$(frames_since "$mark" 1)
sleep 1.5  # the time it stays hidden, ticks going on
late=$(frames_since "$mark" 1)
[ $((late - hidden)) -le 1 ] || fail "$((late - hidden)) frames counted while the window was hidden"
if [ -n "$wm" ]; then xdotool windowactivate --sync "$win"; else xdotool windowmap --sync "$win"; fi
counting() { [ "$(frames_since "$mark" 1)" -gt "$late" ] || traced "$mark" "run complete"; }
wait_for 30 counting || fail "no frame counted after the window came back"
drawn() { [ "$(view png | convert png:- -colorspace gray -format '%[fx:mean > 0.02 ? 1 : 0]' info:)" = 1 ]; }
wait_for 20 drawn || fail "the view stays black after the window came back"
run_to_end "$mark" 60
menu 130 12 140 35  # Results > Save Results
question yes
save_form "hidden" ""
settles $((base + 72)) lines || fail "second record of $(($(lines) - base - 36)) lines"
awk -v n=$((base + 36 + 13)) 'NR == n { exit !($1 > 0) }' results.txt || fail "hidden run: scene 1 unmeasured"

# An accented name in Graphic Results, read from its pixels: a record named
# with 8 É draws more text than one named with 8 E, which draws more than an
# empty name. The results file is put back afterwards.
cp results.txt "$work/kept.txt"
text_pixels() {  # NAME: red or blue text of Graphic Results, in pixels, into $count
  {
    printf -- '-------------------------------------\nMonday, December 7, 2026\n%s\n' "$1"
    printf '\n%.0s' $(seq 9)
    printf '10.000000\n%.0s' $(seq 24)
  } >results.txt
  local still
  still=$(view_sum)
  menu 130 12 140 99  # Results > Main Screen: the intro moves
  wait_for 20 view_changed "$still" || fail "the intro did not show"
  still=$(view_sum)
  menu 130 12 140 56  # Results > Graphic Results
  new_still_view "$still" || fail "Graphic Results did not settle"
  # Red or blue above 40 %, green below 30 %.
  count=$(view png | convert png:- \( -clone 0 -channel G -separate +channel -threshold 30% -negate \) \
    \( -clone 0 -separate -delete 1 -evaluate-sequence max -threshold 40% \) -delete 0 \
    -compose multiply -composite -format '%[fx:round(mean * w * h)]\n' info:)
}
text_pixels ""
empty=$count
text_pixels "EEEEEEEE"
plain=$count
text_pixels "ÉÉÉÉÉÉÉÉ"
accented=$count
[ "$plain" -gt $((empty + 40)) ] && [ "$accented" -gt "$plain" ] ||
  fail "text pixels: $empty without a name, $plain for EEEEEEEE, $accented for ÉÉÉÉÉÉÉÉ"
cp "$work/kept.txt" results.txt

# Each lock key lights and puts out its own indicator (MA, NUM, BS) and no
# other; AltGr held lights none. Scroll Lock has a light only where the keymap
# gives it a modifier, as many desktops do: this display gets one.
xkbcomp -xkb "$DISPLAY" - 2>/dev/null |
  sed 's/^\( *\)modifier_map Mod5 { <LVL3> };/&\n\1modifier_map Mod3 { <SCLK> };/' |
  xkbcomp - "$DISPLAY" 2>/dev/null
lights() {  # e.g. 010: only NUM shows its text
  read -r _ _ ww wh < <(geometry "$win")
  import -window "$win" "$work/shot.png"
  for i in 3 2 1; do
    convert "$work/shot.png" -crop "34x16+$((ww - 41 * i + 3))+$((wh - 19))" +repage -format '%k\n' info:
  done | awk '{ printf "%d", ($1 > 1) } END { print "" }'
}
before=$(lights)
changed() { echo "$before $(lights)" | awk '{ for (i = 1; i <= 3; i++) printf "%d", substr($1, i, 1) != substr($2, i, 1) }'; }
for case in Caps_Lock:100 Num_Lock:010 Scroll_Lock:001 ISO_Level3_Shift:000; do
  xdotool keydown "${case%:*}"
  settles "${case#*:}" changed || fail "${case%:*}: $(changed) changed of MA NUM BS"
  xdotool keyup "${case%:*}" key "${case%:*}"  # AltGr let go, a lock put out
  settles 000 changed || fail "${case%:*} again: $(changed) changed of MA NUM BS"
done

# F10 opens the first menu, Escape closes it again.
n=$(top_windows)
xdotool mousemove --window "$win" 900 700 key F10
wait_for 20 more_windows "$n" || fail "F10 opened no menu"
fewer() { [ "$(top_windows)" -le "$n" ]; }
xdotool key Escape
wait_for 20 fewer || fail "Escape left the menu open"

menu 190 12 185 77  # Other > Quit
timeout 20 tail --pid="$pid" -f /dev/null || fail "program did not quit"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "user session${wm:+ under a window manager}: ok (text pixels: $empty, $plain, $accented)"
