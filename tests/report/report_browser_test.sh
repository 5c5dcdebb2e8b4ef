#!/bin/sh
# A two-run report opened in headless Chromium: no console message (the
# page's policy turns any resource it would fetch into one), no request but
# the page itself, one bar per scene and run, every rate as the runs printed
# it, and screenshots at a phone's and a wide screen's width that are not
# blank. 77: no Chromium, skipped.
# usage: report_browser_test.sh VELMARK3_CLI [SCREENSHOT_COPY]
set -eu
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
command -v chromium >/dev/null 2>&1 || { echo "skipped: no chromium"; exit 77; }
work=$(mktemp -d /tmp/vm-report-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

for n in 1 2; do
  "$cli" run --scenes 1,2 --timer 50 >"out$n.txt" 2>"err$n.txt" || { cat "err$n.txt"; fail "run $n"; }
done
"$cli" report --last 2 >verdicts.txt 2>report.err || { cat report.err; fail "report"; }
[ "$(grep -c '^Scene [12] : [0-9.]* fps -> [0-9.]* fps (ratio [0-9.]*) not enough runs' verdicts.txt)" = 2 ] ||
  { cat verdicts.txt; fail "one verdict line per scene"; }

mkdir profile
browse() {
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --enable-logging=stderr --v=0 "$@" "file://$work/report.html"
}
browse --log-net-log="$work/net.json" --dump-dom >dom.html 2>browser.err || fail "chromium --dump-dom"
if grep -q 'CONSOLE' browser.err; then grep 'CONSOLE' browser.err; fail "console messages"; fi
# The browser's own background traffic aside, only the page itself.
grep -o '"url":"[^"]*"' net.json | sort -u | grep -v "\"url\":\"file://$work/report.html\"" |
  grep -v -E '"url":"https?://[a-z0-9.-]*(google\.com|googleapis\.com|gvt1\.com)/' >requests.txt || true
[ ! -s requests.txt ] || { cat requests.txt; fail "requests for resources"; }

bars=$(sed -n '/id="fps-chart"/,/<\/section>/p' dom.html | grep -o '<rect class="bar r' | wc -l)
[ "$bars" = 4 ] || fail "$bars bars in the fps chart, not 2 scenes x 2 runs"
for rate in $(sed -n 's/^Scene [0-9]* : \([0-9.]*\) fps$/\1/p' out1.txt out2.txt); do
  grep -q ">$rate<" dom.html || fail "rate $rate not in the page"
done

# A phone's width and a wide screen: the narrow one stacks the tables.
grep -q '<td data-h="Verdict"' dom.html || fail "the verdicts are not named for the narrow layout"
for size in 390,2000 1920,1100; do
  browse --window-size=$size --screenshot="$work/shot-$size.png" >/dev/null 2>&1 || fail "screenshot at $size"
  colours=$(convert "shot-$size.png" -format '%k' info:)
  [ "$colours" -gt 16 ] || fail "the screenshot at $size is blank ($colours colours)"
done
[ -z "${2:-}" ] || cp shot-1920,1100.png "$2"
echo "report_browser_test: ok"
