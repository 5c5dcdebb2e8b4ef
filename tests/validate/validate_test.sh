#!/bin/sh
# Rendering validation through the real runner.
# llvmpipe: every scene passes; the shim fails exactly the scenes each of its
# faults changes; the pictures, the JSON, scene 17 without its mesh, and run
# --validate --save with a failing scene leaving results.txt alone.
# softpipe with 16 depth bits, zink on lavapipe with 24: honest rasterisers
# that are not the references' pass every scene; make references refuses zink.
#   validate_test.sh VELMARK3-CLI SHIM MAKE-REFERENCES llvmpipe|softpipe|zink
set -eu
cli=$1
shim=$2
refs=$3
mode=$4
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
# All 24 scenes pass, between the renderer line and the summary.
all_pass() {
  [ "$(grep -c ' : pass (difference' "$1")" = 24 ] && tail -n 1 "$1" | grep -qx 'all 24 scenes passed'
}

case $mode in
softpipe)
  GALLIUM_DRIVER=softpipe "$cli" validate --depth-bits 16 >out.txt || { cat out.txt; fail softpipe; }
  head -n 1 out.txt | grep -q '^Renderer: softpipe, .* depth 16, ' || fail "softpipe: renderer line"
  all_pass out.txt || fail "softpipe: not every scene passed"
  exit 0
  ;;
zink)
  export GALLIUM_DRIVER=zink LIBGL_ALWAYS_SOFTWARE=1
  "$cli" validate --depth-bits 24 >out.txt 2>err.txt || { cat out.txt err.txt; fail zink; }
  head -n 1 out.txt | grep -q '^Renderer: zink (llvmpipe .* depth 24, ' || fail "zink: renderer line"
  all_pass out.txt || fail "zink: not every scene passed"
  mkdir references
  rc=0
  "$refs" references >/dev/null 2>err.txt || rc=$?
  [ $rc = 1 ] && grep -q 'the renderer is "zink (llvmpipe' err.txt || fail "make references: zink"
  [ -z "$(ls references)" ] || fail "make references wrote pictures for zink"
  exit 0
  ;;
esac

"$cli" validate --json v.json --images pictures >out.txt || { cat out.txt; fail llvmpipe; }
head -n 1 out.txt | grep -q '^Renderer: llvmpipe (.*; colour 8/8/8/., depth [23][0-9], stencil' ||
  fail "renderer line"
[ "$(grep -c ' : pass (difference 0.00, limit 3.00)$' out.txt)" = 24 ] || fail "llvmpipe lines"
grep -qx 'no picture written: every scene passed' out.txt && [ ! -e pictures ] || fail "--images"
grep -q '"depth_bits": [23][0-9], "stencil_bits": ' v.json &&
  grep -q '"scene": 24, "name": ".*", "status": "pass"' v.json || fail "validate --json"

# What each fault visibly changes. Scene 7 is unlit; 1-4 and 10 have no
# texture; only 10 and 11 are fogged; the meshes (17-24) and scenes drawn
# back to front barely need the depth test; the dropped primitives are small
# spheres in 1-5 and 8, most of the picture in 17-24; scenes 1-3 and 15 are
# where the smaller specular exponent shows most.
for case in "lighting:1 2 3 4 5 6 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 " \
  "texture:5 6 7 8 9 11 12 13 14 15 16 18 19 20 21 22 23 24 " \
  "fog:10 11 " \
  "depth:1 2 3 4 5 6 8 9 14 15 16 " \
  "drop:6 9 15 17 18 19 20 21 22 23 24 " \
  "shininess:1 2 3 5 6 8 10 15 16 "; do
  what=${case%%:*}
  rc=0
  VM_IGNORE=$what LD_PRELOAD=$shim "$cli" validate >"$what.txt" || rc=$?
  [ $rc = 1 ] || fail "$what: exit status $rc"
  [ "$(failing "$what.txt")" = "${case#*:}" ] || { cat "$what.txt"; fail "$what: failing scenes"; }
  n=$(echo ${case#*:} | wc -w)
  tail -n 1 "$what.txt" | grep -qx "$n of 24 scenes failed" || fail "$what: summary"
done

rc=0
VM_IGNORE=texture LD_PRELOAD=$shim "$cli" validate --scenes 7,10 --images pictures >out.txt || rc=$?
[ $rc = 1 ] && tail -n 1 out.txt | grep -qx '1 of 2 scenes failed' || fail "--images: status"
[ "$(ls pictures | tr '\n' ' ')" = \
  "scene-07-difference.png scene-07-reference.png scene-07-rendered.png " ] || fail "--images"
if command -v identify >/dev/null; then
  [ "$(identify -format '%wx%h ' pictures/*)" = "1024x768 1024x768 1024x768 " ] ||
    fail "pictures of different sizes"
fi

# Scene 17 draws the mesh scene 16 builds: alone it is told before the
# timing and fails validation; after 16 both pass.
hint='scene 17 draws the mesh of the latest surface scene; add scene 16 before it'
"$cli" run --scenes 17 --validate --no-history >out.txt 2>err.txt || fail "run 17"
grep -q "^velmark3-cli: scene 17 cannot be validated: $hint\$" err.txt &&
  grep -q '^Scene 17 : FAIL (difference none' err.txt &&
  grep -q "^velmark3-cli: $hint\$" err.txt || { cat err.txt; fail "run 17: told"; }
[ "$(grep -n "$hint" err.txt | tail -n 1 | cut -d: -f1)" -lt \
  "$(grep -n '^Scene 17/' err.txt | head -n 1 | cut -d: -f1)" ] || fail "run 17: told after timing"
"$cli" run --scenes 16,17 --validate --no-history >out.txt 2>err.txt || fail "run 16,17"
[ "$(grep -c ' : pass (difference' err.txt)" = 2 ] && ! grep -q "$hint" err.txt ||
  { cat err.txt; fail "run 16,17"; }

printf 'a record kept\n' >results.txt
cp results.txt before.txt
rc=0
VM_IGNORE=texture LD_PRELOAD=$shim "$cli" run --scenes 7 --validate --save --allow-partial \
  --results-file results.txt >/dev/null 2>err.txt || rc=$?
[ $rc = 1 ] && grep -q 'scene 7 failed rendering validation' err.txt || fail "run --save"
cmp -s results.txt before.txt || fail "results.txt changed"
