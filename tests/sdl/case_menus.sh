#!/usr/bin/env bash
# Menus on a real screen: a menu bar drawn above the client area, its
# drop-down opened and an item chosen by clicks, then by Alt and the arrow
# keys; a pop-up menu shown at its point and chosen by a click.
. "$(dirname "$0")/lib.sh"
src=$(cd "$(dirname "$0")" && pwd)

start_bg env QUILLRUNNER_CONSOLE_DUMP="$work/menus.txt" "$build/quill" run "$src/menu_bar.bas"
wait_file "$work/bar1" || finish
id=$(window_id 'Shapes') || { fail "no window"; finish; }
focus "$id" Shapes || finish

# The bar on the face colour, the white client area below it.
import -window "$id" "$work/bar.png"
expect_pixel "$work/bar.png" 300 5 '#F0F0F0'
expect_pixel "$work/bar.png" 300 30 '#FFFFFF'

# A click on "File" opens its drop-down under it; the item under the
# pointer is highlighted; a click on it chooses it and closes the menu.
xdotool mousemove --window "$id" 15 10 click 1
sleep 0.3
xdotool mousemove --window "$id" 30 31
sleep 0.4
import -window "$id" "$work/open.png"
expect_pixel "$work/open.png" 3 31 '#0078D7'  # "Open", highlighted
expect_pixel "$work/open.png" 3 58 '#F0F0F0'  # "Quit", not
xdotool click 1
wait_file "$work/bar2" || finish
sleep 0.3
import -window "$id" "$work/closed.png"
expect_pixel "$work/closed.png" 3 31 '#FFFFFF'

# The keyboard: Alt opens the first drop-down at its first item, Down
# skips the separator.
xdotool key alt
sleep 0.3
xdotool key Down Return
wait_file "$work/popup" || finish

# The pop-up menu at client point (100, 50), below the 20-pixel bar.
sleep 0.5
xdotool mousemove --window "$id" 120 100
sleep 0.4
import -window "$id" "$work/popup.png"
expect_pixel "$work/popup.png" 102 101 '#0078D7' # "Green", highlighted
expect_pixel "$work/popup.png" 102 81 '#F0F0F0'  # "Red", not
xdotool click 1
[ "$(wait_bg)" = 0 ] || fail "exit status $(cat "$work/status")"
expect_line "$work/menus.txt" 'bar choice  101  0'
expect_line "$work/menus.txt" 'bar choice  102  0'
expect_line "$work/menus.txt" 'popup choice  2'
finish
