#!/usr/bin/env bash
# The window on the screen shows what the headless run of the same program
# leaves as its screenshot, pixel for pixel: console text (Japanese and
# half-width katakana included) over boxes, circles, points and lines.
. "$(dirname "$0")/lib.sh"
src=$(cd "$(dirname "$0")" && pwd)

# The headless screenshot; a key on stdin ends the program's key wait.
mkdir "$work/headless"
(cd "$work/headless" && echo x | QUILLRUNNER_BACKEND=headless \
  QUILLRUNNER_SCREENSHOT="$work/headless.png" timeout 60 "$build/quill" run "$src/picture.bas" \
  >/dev/null 2>"$work/headless.err") || fail "headless run: $(cat "$work/headless.err")"
[ -s "$work/headless.png" ] || { fail "no headless screenshot"; finish; }

start_bg "$build/quill" run "$src/picture.bas"
wait_file "$work/ready" || finish
id=$(window_id 'picture') || { fail "no picture window"; finish; }
focus "$id" picture || finish

# The window's client area (the X window itself, no frame) against the same
# part of the headless picture. The picture reaches the screen within a
# frame or two of being drawn: shots are retaken until they match, and the
# last count of differing pixels is reported if none does.
differ=unknown
for _ in $(seq 1 25); do
  import -window "$id" "$work/screen.png" 2>/dev/null || { sleep 0.2; continue; }
  size=$(identify -format '%wx%h' "$work/screen.png")
  convert "$work/headless.png" -crop "$size+0+0" +repage "$work/expected.png"
  differ=$(compare -metric AE "$work/screen.png" "$work/expected.png" "$work/diff.png" 2>&1)
  [ "$differ" = 0 ] && break
  sleep 0.2
done
[ "$differ" = 0 ] || fail "$differ pixels of the $size window differ from the headless screenshot"
# The comparison means something only if the picture is really there.
expect_pixel "$work/screen.png" 100 100 '#00FF00'
expect_pixel "$work/screen.png" 320 220 '#0000FF'
expect_pixel "$work/screen.png" 500 100 '#123456'

xdotool key x
status=$(wait_bg)
[ "$status" = 0 ] || fail "exit status $status"
finish
