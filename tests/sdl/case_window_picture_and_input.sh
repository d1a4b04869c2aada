#!/usr/bin/env bash
# A window of the platform layer on the real screen: its picture comes from
# its backing store pixel for pixel; keys, Japanese text, clicks and the
# close box reach it as window messages; GetAsyncKeyState follows the keys.
. "$(dirname "$0")/lib.sh"

start_bg "$build/sdl_probe" picture
wait_line "$work/out" '^ready' || finish
wait_line "$work/out" '^setfocus' || finish
id=$(window_id 'probe') || { fail "no window"; finish; }
focus "$id" probe || finish
grep -qx 'backend sdl 1024x768' "$work/out" || fail "screen size not from the display"

# The picture: quadrants, the white square, the odd last pixel.
shot_when "$id" "$work/shot.png" 319 239 '#123456' || fail "the picture never reached the screen"
expect_pixel "$work/shot.png" 0 0 '#FF0000'
expect_pixel "$work/shot.png" 200 10 '#00FF00'
expect_pixel "$work/shot.png" 10 200 '#0000FF'
expect_pixel "$work/shot.png" 200 200 '#808080'
expect_pixel "$work/shot.png" 100 100 '#FFFFFF'
expect_pixel "$work/shot.png" 119 119 '#FFFFFF'
expect_pixel "$work/shot.png" 120 120 '#0000FF'
expect_pixel "$work/shot.png" 319 239 '#123456'
size=$(identify -format '%wx%h' "$work/shot.png")
[ "$size" = 320x240 ] || fail "window is $size"

# Keys: virtual-key codes, then characters.
xdotool type --delay 80 'aB1'
xdotool key F5 Return BackSpace Tab Escape ctrl+c Left
xdotool keydown a
sleep 0.2
xdotool key F2
xdotool keyup a
xdotool key F2
# Non-ASCII characters need a pause each under xdotool.
xdotool type --delay 300 'あ日ｱ'
xdotool mousemove --window "$id" 50 60 click 1
xdotool mousemove --window "$id" 70 80 click 3
wait_line "$work/out" '^rup' || finish
o="$work/out"
for line in 'keydown 65 0 0' 'char 97 0 0' 'keyup 65 0 0' 'keydown 16 0 0' 'keydown 66 0 0' \
  'char 66 0 0' 'keydown 49 0 0' 'char 49 0 0' 'keydown 116 0 0' 'keydown 13 0 0' \
  'char 13 0 0' 'keydown 8 0 0' 'char 8 0 0' 'keydown 9 0 0' 'char 9 0 0' 'keydown 27 0 0' \
  'char 27 0 0' 'keydown 17 0 0' 'char 3 0 0' 'keydown 37 0 0' 'async-a 1' 'async-a 0' \
  'ldown 1 50 60' 'lup 0 50 60' 'rdown 2 70 80' 'rup 0 70 80'; do
  expect_line "$o" "$line"
done
# The double-byte characters come as lead byte then trail byte.
chars=$(grep '^char' "$o" | awk '{print $2}' | tr '\n' ' ')
case "$chars" in
*"130 160 147 250 177 "*) ;;
*) fail "Japanese characters arrived as: $chars" ;;
esac

# The close box: WM_CLOSE, and the program ends normally.
"$build/x_close" "$id"
status=$(wait_bg)
[ "$status" = 0 ] || fail "exit status $status"
expect_line "$o" 'close 0 0 0'
finish
