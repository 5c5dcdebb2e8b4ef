#!/usr/bin/env bash
# Ctrl-C during a run: the first signal ends it at the next frame with the
# finished scenes printed and reported as interrupted, beside the scenes
# asked for; nothing saved, exit 128 + the signal; a second signal ends it
# at once. No display needed.
set -euo pipefail
cli=$(dirname "$1")/velmark3-cli
tmp=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$tmp"' EXIT
cd "$tmp"
set -m  # a background job keeps SIGINT, as in a terminal

# Waits up to a minute for PATTERN in err.
await() {
  for _ in $(seq 600); do grep -q "$1" err && return 0; sleep 0.1; done
  echo "no '$1' in: $(cat err)"
  exit 1
}

EGL_PLATFORM=surfaceless "$cli" run --no-history --scenes 1-3 --seconds 3 --save --allow-partial \
  --results-file saved.txt --json run.json >out 2>err &
pid=$!
await 'Scene [23]/24'
kill -INT $pid
rc=0
wait $pid || rc=$?
pid=
[ $rc -eq 130 ] || { echo "exit $rc after SIGINT"; exit 1; }
grep -q '^Scene 1 : ' out && ! grep -q '^Scene 3 : ' out && grep -q '^Score : ' out ||
  { echo "text lines: $(cat out)"; exit 1; }
grep -q '"complete": false' run.json && grep -q '"scene": 1,' run.json && ! grep -q '"scene": 3,' run.json &&
  grep -q '"interrupted": true' run.json && grep -q '"scenes": \[1, 2, 3\]' run.json ||
  { echo "report: $(cat run.json)"; exit 1; }
[ ! -e saved.txt ] || { echo "a stopped run was saved"; exit 1; }
[ "$(ls -A)" = "$(printf 'err\nout\nrun.json')" ] || { echo "files left: $(ls -A)"; exit 1; }

# A second signal ends it at once: two arrive together (held by a stop),
# while the next frame is 5 s away.
EGL_PLATFORM=surfaceless "$cli" run --no-history --scenes 1-3 --timer 5000 --json late.json >out 2>err &
pid=$!
await '^View '
kill -STOP $pid
kill -TERM $pid
kill -INT $pid
kill -CONT $pid
# The shell may report the stop itself (exit 147) before the job goes on.
rc=147
while [ $rc -eq 147 ]; do
  rc=0
  wait $pid || rc=$?
done
pid=
# Which of the two the process takes first is the kernel's choice.
[ $rc -eq 143 ] || [ $rc -eq 130 ] && [ ! -s out ] && [ ! -e late.json ] || { echo "second signal: exit $rc, $(cat out)"; exit 1; }
echo "stop signals: ok"
