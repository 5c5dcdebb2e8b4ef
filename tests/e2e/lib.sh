# Shared by the end-to-end scripts (bash): every wait polls for the state it
# needs with a deadline, and every failure says what it saw.

fail() {
  echo "FAIL: $1"
  # E2E_KEEP=dir keeps the screen as it was.
  [ -z "${E2E_KEEP:-}" ] || import -window root "$E2E_KEEP/failed.png" || true
  if [ -n "${trace:-}" ] && [ -s "$trace" ]; then
    echo "--- the program's last trace lines:"
    tail -n 5 "$trace"
  fi
  exit 1
}

# wait_for SECONDS COMMAND...: true once the command succeeds, false when
# the deadline passes first.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

# The visible top-level windows: a pop-up menu or a dialog adds to them.
top_windows() { xdotool search --onlyvisible --maxdepth 1 --name '' 2>/dev/null | wc -l; }
more_windows() { [ "$(top_windows)" -gt "$1" ]; }

# menu X Y X2 Y2: opens the pop-up at (X, Y) of the main window $win and,
# once it shows, clicks its entry at (X2, Y2).
menu() {
  local n
  n=$(top_windows)
  xdotool mousemove --window "$win" "$1" "$2" click 1
  wait_for 20 more_windows "$n" || fail "the menu at $1,$2 did not open ($(top_windows) windows)"
  xdotool mousemove --window "$win" "$3" "$4" click 1
  xdotool mousemove --window "$win" 900 700 2>/dev/null || true  # off the menu bar (gone after Quit)
}

# The program's window named (regex) $1, once it shows.
find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
has_window() { [ -n "$(find_window "$1")" ]; }
no_window() { [ -z "$(find_window "$1")" ]; }
window_of() {  # NAME: waits up to 30 s; fails (status 1) without one
  wait_for 30 has_window "$1" && find_window "$1"
}
