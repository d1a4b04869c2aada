#!/usr/bin/env bash
# Times the drawing statements headless at 1024x768: each NAME.bas against
# NAME_base.bas, which runs the same loop and expressions without drawing,
# so that the difference is the drawing itself.
#   bench/graphics/run.sh [build-dir]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
quill=$build/quill
export QUILLRUNNER_BACKEND=headless QUILLRUNNER_SCREEN=1024x768
# Processor time (user + system) of one run in milliseconds: on a busy
# machine wall time says more about the neighbours than about the engine.
run() {
  local TIMEFORMAT='%3U %3S' t
  t=$({ time "$quill" run "$1" >/dev/null 2>&1; } 2>&1)
  awk -v t="$t" 'BEGIN { split(t, p, " "); printf "%d", (p[1] + p[2]) * 1000 }'
}
printf '%-10s %8s %8s %10s %8s\n' bench total base drawing count
for name in paint lines psets gprint console; do
  count=$(grep -m1 -o 'TO [0-9]*' "$here/$name.bas" | tail -1 | cut -d' ' -f2)
  [ "$name" = console ] && count=500
  total=$(run "$here/$name.bas")
  base=$(run "$here/${name}_base.bas")
  per=$(awk -v t="$total" -v b="$base" -v n="$count" 'BEGIN { printf "%.3f ms each", (t - b) / n }')
  printf '%-10s %6sms %6sms %s %8s\n' "$name" "$total" "$base" "$per" "$count"
done
