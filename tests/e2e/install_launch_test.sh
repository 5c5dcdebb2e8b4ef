#!/usr/bin/env bash
# make install's layout as desktops and packagers check it, and the installed
# launcher as the desktop menu starts it: the program runs in the per-user
# working directory, seeded with the shipped files that are missing there, and
# a saved results.txt is kept. The installed runner uses that folder too, and
# takes its paths from where it was started. With the prefix ~/.local the
# per-user folder lies inside the prefix: installing again and uninstalling
# must leave a saved record there.
set -euo pipefail
exe=$1
build=$(dirname "$exe")
top=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${DISPLAY:-}" ] || { echo "skipped: no display (scripts/run-tests starts Xvfb)"; exit 77; }

tmp=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$tmp"' EXIT
sh "$top/scripts/install-files" install "$build" "$tmp/prefix" >/dev/null

for size in 32 48 128 256; do
  [ -e "$tmp/prefix/share/icons/hicolor/${size}x$size/apps/velmark3.png" ] || { echo "no $size px icon"; exit 1; }
done
grep -qx 'Exec=.*/velmark3-launch' "$tmp/prefix/share/applications/velmark3.desktop" ||
  { echo "desktop entry does not start the launcher"; exit 1; }
# grep reads it all: the runner fails a write to a pipe closed early.
"$tmp/prefix/bin/velmark3-cli" --help | grep '^Usage: velmark3-cli' >/dev/null || { echo "cli --help"; exit 1; }
for p in velmark3 velmark3-cli; do
  DISPLAY= "$tmp/prefix/bin/$p" --version | grep -Eqx "$p [0-9]+\.[0-9]+\.[0-9]+" || { echo "$p --version"; exit 1; }
done
desktop-file-validate "$tmp/prefix/share/applications/velmark3.desktop"
appstreamcli validate-tree --no-net --pedantic "$tmp/prefix" >/dev/null || { echo "metainfo"; exit 1; }
for page in "$tmp/prefix/share/man/man1/"*.1; do
  [ -z "$(man --warnings -l "$page" 2>&1 >/dev/null)" ] || { echo "man page warnings: $page"; exit 1; }
done

# The installed runner, from any directory, uses the per-user folder too.
(cd / && XDG_DATA_HOME="$tmp/cli" "$tmp/prefix/bin/velmark3-cli" results) | grep '^1 POSITION WITH SCORE' >/dev/null ||
  { echo "installed cli does not list the shipped record"; exit 1; }
cmp -s "$tmp/cli/velmark3/results.txt" "$tmp/prefix/share/velmark3/data/results.txt" || { echo "cli folder not seeded"; exit 1; }
msg=$(cd / && XDG_DATA_HOME="$tmp/cli" "$tmp/prefix/bin/velmark3-cli" results --results-file "$tmp/none" 2>&1) &&
  { echo "results without a results file: exit 0"; exit 1; }
[[ $msg == *"no results file $tmp/none"* ]] || { echo "--results-file: $msg"; exit 1; }

work="$tmp/xdg/velmark3"
mkdir -p "$work"
echo "saved by the user" >"$work/results.txt"
XDG_DATA_HOME="$tmp/xdg" HOME="$tmp/home" "$tmp/prefix/bin/velmark3-launch" &
pid=$!
. "$(dirname "$0")/lib.sh"
win=$(window_of '^VELMARK 3') || fail "no window"
xprop -id "$win" WM_CLASS | grep -qi '"velmark3"$' || { echo "window class: $(xprop -id "$win" WM_CLASS)"; exit 1; }
[ "$(readlink "/proc/$pid/cwd")" = "$work" ] || { echo "working directory: $(readlink "/proc/$pid/cwd")"; exit 1; }
[ "$(cat "$work/results.txt")" = "saved by the user" ] || { echo "results.txt overwritten"; exit 1; }
for f in "$tmp/prefix/share/velmark3/data"/*; do
  [ -e "$f" ] || continue
  [ -e "$work/$(basename "$f")" ] || { echo "not seeded: $(basename "$f")"; exit 1; }
done

menu 190 12 185 77  # Other > Quit
timeout 20 tail --pid="$pid" -f /dev/null || { echo "program did not quit"; exit 1; }
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || { echo "exit code $rc"; exit 1; }

# The prefix ~/.local: a record saved, a report named relative to where the
# runner started, then install again and uninstall.
mkdir "$tmp/here"
(cd "$tmp/here" && XDG_DATA_HOME="$tmp/prefix/share" "$tmp/prefix/bin/velmark3-cli" run --scenes 1 \
  --save --allow-partial --computer-name KEPT --csv out.csv >/dev/null 2>&1) || { echo "save failed"; exit 1; }
[ -s "$tmp/here/out.csv" ] || { echo "--csv out.csv not written where the runner started"; exit 1; }
sh "$top/scripts/install-files" install "$build" "$tmp/prefix" >/dev/null
sh "$top/scripts/install-files" uninstall "$build" >/dev/null
grep -qx KEPT "$tmp/prefix/share/velmark3/results.txt" || { echo "saved record lost by install or uninstall"; exit 1; }
[ ! -e "$tmp/prefix/bin/velmark3-cli" ] && [ ! -e "$tmp/prefix/share/velmark3/data" ] ||
  { echo "uninstall left installed files"; exit 1; }
echo "install and launcher: ok"
