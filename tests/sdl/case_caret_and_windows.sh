#!/usr/bin/env bash
# The caret inverts the pixels under it and blinks; a hundred windows open
# and close without trouble; the clipboard keeps Japanese text and line ends.
. "$(dirname "$0")/lib.sh"

start_bg "$build/sdl_probe" caret
wait_line "$work/out" '^ready' || finish
id=$(window_id 'probe') || { fail "no window"; finish; }
focus "$id" probe || finish
# The caret covers (40,30) to (48,35) of the red quadrant: shown it is cyan.
seen=""
for i in $(seq 1 12); do
  import -window "$id" "$work/c.png"
  seen="$seen $(pixel "$work/c.png" 44 32)"
  sleep 0.11
done
case "$seen" in *'#00FFFF'*) ;; *) fail "caret never shown:$seen" ;; esac
case "$seen" in *'#FF0000'*) ;; *) fail "caret never blinked off:$seen" ;; esac
import -window "$id" "$work/c.png"
expect_pixel "$work/c.png" 49 32 '#FF0000' # right of the caret
expect_pixel "$work/c.png" 44 36 '#FF0000' # below it
"$build/x_close" "$id"
[ "$(wait_bg)" = 0 ] || fail "caret probe did not end normally"

rm -f "$work/status"
start_bg "$build/sdl_probe" windows 100
status=$(wait_bg)
[ "$status" = 0 ] || fail "100 windows: exit status $status"
grep -qx 'opened and closed 100' "$work/out" || fail "100 windows not opened"

rm -f "$work/status"
start_bg "$build/sdl_probe" clipboard "$(printf 'clip 日本\r\nzwei')"
[ "$(wait_bg)" = 0 ] || fail "clipboard probe failed"
printf 'clipboard 1 1 clip 日本\r\nzwei\n' | cmp -s - <(grep -v '^backend' "$work/out") ||
  { fail "clipboard round trip"; od -c "$work/out" | head; }
finish
