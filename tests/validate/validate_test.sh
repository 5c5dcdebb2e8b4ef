#!/bin/sh
# Rendering validation through the real runner. llvmpipe: every scene passes;
# under the shim that ignores lighting or texturing exactly the scenes whose
# picture that changes fail; a failing scene's pictures are written; run
# --validate --save with a failing scene leaves results.txt alone.
# softpipe: every scene passes on Mesa's other software rasteriser too.
#   validate_test.sh VELMARK3-CLI SHIM llvmpipe|softpipe
set -eu
cli=$1
shim=$2
mode=$3
export EGL_PLATFORM=surfaceless
# Sanitizer builds: the shim is preloaded ahead of their runtime.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# The scene numbers validate reports as failing, one line.
failing() { grep ' : FAIL (difference' "$1" | cut -d' ' -f2 | tr '\n' ' '; }

if [ "$mode" = softpipe ]; then
  GALLIUM_DRIVER=softpipe "$cli" validate >out.txt || { cat out.txt; fail "softpipe"; }
  [ "$(grep -c ' : pass (difference' out.txt)" = 24 ] || fail "softpipe: not 24 lines"
  exit 0
fi

"$cli" validate --json v.json >out.txt || { cat out.txt; fail "llvmpipe"; }
[ "$(grep -c ' : pass (difference 0.00, limit 3.00)$' out.txt)" = 24 ] || fail "llvmpipe lines"
grep -q '"limit": 3.00' v.json && grep -q '"scene": 24, "name": ".*", "status": "pass"' v.json ||
  fail "validate --json"

# Scene 7 is textured and unlit; scenes 1-4 and 10 use no texture.
for case in "lighting:1 2 3 4 5 6 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 " \
  "texture:5 6 7 8 9 11 12 13 14 15 16 18 19 20 21 22 23 24 "; do
  what=${case%%:*}
  rc=0
  VM_IGNORE=$what LD_PRELOAD=$shim "$cli" validate >"$what.txt" || rc=$?
  [ $rc = 1 ] || fail "$what: exit status $rc"
  [ "$(failing "$what.txt")" = "${case#*:}" ] || { cat "$what.txt"; fail "$what: failing scenes"; }
done

mkdir pictures
rc=0
VM_IGNORE=texture LD_PRELOAD=$shim "$cli" validate --scenes 7,10 --images pictures >/dev/null || rc=$?
[ $rc = 1 ] || fail "--images: exit status $rc"
[ "$(ls pictures | tr '\n' ' ')" = \
  "scene-07-difference.png scene-07-reference.png scene-07-rendered.png " ] || fail "--images"

printf 'a record kept\n' >results.txt
cp results.txt before.txt
rc=0
VM_IGNORE=texture LD_PRELOAD=$shim "$cli" run --scenes 7 --validate --save --allow-partial \
  --results-file results.txt >/dev/null 2>err.txt || rc=$?
[ $rc = 1 ] && grep -q 'scene 7 failed rendering validation' err.txt || fail "run --save"
cmp -s results.txt before.txt || fail "results.txt changed"
