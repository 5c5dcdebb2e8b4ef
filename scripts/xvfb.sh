# Sourced (POSIX sh) by scripts/run-tests, scripts/take-screenshots and the
# window-manager session test: a private X server and, where wanted, a
# window manager on it, each waited for with a deadline.

# start_xvfb WIDTHxHEIGHT [Xvfb options]: exports DISPLAY; XVFB_PID is the
# server. Xvfb picks a free display itself and writes its number to the
# file. It must not reset when its last client leaves: a test connecting
# during the reset would find no display.
start_xvfb() {
  _xvfb_num=$(mktemp)
  _xvfb_size=$1
  shift
  Xvfb -displayfd 3 -screen 0 "${_xvfb_size}x24" -nolisten tcp -noreset "$@" 3>"$_xvfb_num" >/dev/null 2>&1 &
  XVFB_PID=$!
  _xvfb_i=0
  until [ -s "$_xvfb_num" ] && xdpyinfo -display ":$(cat "$_xvfb_num")" >/dev/null 2>&1; do
    _xvfb_i=$((_xvfb_i + 1))
    if [ $_xvfb_i -gt 300 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start within 30 s" >&2
      rm -f "$_xvfb_num"
      return 1
    fi
    sleep 0.1
  done
  DISPLAY=":$(cat "$_xvfb_num")"
  export DISPLAY
  rm -f "$_xvfb_num"
}

# start_openbox: openbox on $DISPLAY, ready once its check window names it;
# OPENBOX_PID is the manager.
start_openbox() {
  openbox --sm-disable >/dev/null 2>&1 &
  OPENBOX_PID=$!
  _ob_i=0
  until _ob_check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ { print $NF }') &&
    [ -n "$_ob_check" ] && xprop -id "$_ob_check" _NET_WM_NAME 2>/dev/null | grep -q '= "'; do
    _ob_i=$((_ob_i + 1))
    if [ $_ob_i -gt 300 ] || ! kill -0 "$OPENBOX_PID" 2>/dev/null; then
      echo "openbox did not start within 30 s: $(xprop -root _NET_SUPPORTING_WM_CHECK 2>&1)" >&2
      return 1
    fi
    sleep 0.1
  done
}

stop_x() {
  [ -z "${OPENBOX_PID:-}" ] || kill "$OPENBOX_PID" 2>/dev/null || true
  [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true
}
