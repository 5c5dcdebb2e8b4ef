#!/usr/bin/env bash
# The user session once more under a window manager (openbox), on a private
# display of its own: the session test then also checks what the manager
# makes of the windows (maximised main window, dialogs of the dialog type,
# a minimised window restored with its view drawn).
set -euo pipefail
exe=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
command -v openbox >/dev/null || { echo "skipped: openbox is not installed (scripts/install-deps test)"; exit 77; }
command -v Xvfb >/dev/null || { echo "skipped: no Xvfb"; exit 77; }
. "$top/scripts/xvfb.sh"
trap stop_x EXIT
start_xvfb 1280x1024
start_openbox
bash "$top/tests/e2e/user_session_test.sh" "$exe"
