#!/usr/bin/env bash
# BASIC programs in a real window: typed keys reach INPUT, Inkey$ and LINE
# INPUT (Japanese included), F5 and a click reach their traps, the close box
# ends a waiting program with status 0, and the error box is answered from
# the keyboard.
. "$(dirname "$0")/lib.sh"
src=$(cd "$(dirname "$0")" && pwd)

run() { # NAME: runs NAME.bas with its console text dumped to $work/NAME.txt
  rm -f "$work/status" "$work"/ready*
  start_bg env QUILLRUNNER_CONSOLE_DUMP="$work/$1.txt" "$build/quill" run "$src/$1.bas"
}
ready() { # MARKER: waits for the program's marker
  wait_file "$work/$1"
}

# INPUT, Inkey$ and LINE INPUT.
run input
ready ready1 || finish
id=$(window_id 'input') || { fail "no input window"; finish; }
focus "$id" input || finish
xdotool type --delay 60 'abx'
xdotool key BackSpace
xdotool type --delay 300 'あ日'
xdotool key Return
ready ready2 || finish
xdotool key q
ready ready3 || finish
xdotool type --delay 60 'one two'
xdotool key Return
[ "$(wait_bg)" = 0 ] || fail "input: exit status $(cat "$work/status")"
expect_line "$work/input.txt" 'got: abあ日 :  6'
expect_line "$work/input.txt" 'key: q'
expect_line "$work/input.txt" 'line: one two'

# Key and mouse traps.
run traps
ready ready || finish
id=$(window_id 'traps') || { fail "no traps window"; finish; }
focus "$id" traps || finish
xdotool key F5
sleep 0.3
xdotool mousemove --window "$id" 30 40 click 1
[ "$(wait_bg)" = 0 ] || fail "traps: exit status $(cat "$work/status")"
expect_line "$work/traps.txt" 'F5 trap'
expect_line "$work/traps.txt" 'click at  30  40'
expect_line "$work/traps.txt" 'done'

# The close box.
run close
ready ready || finish
id=$(window_id 'close') || { fail "no close window"; finish; }
"$build/x_close" "$id"
[ "$(wait_bg)" = 0 ] || fail "close: exit status $(cat "$work/status")"
grep -q never "$work/close.txt" && fail "close: the program went on"

# The clipboard statement and Clipboard$ through the X clipboard.
run clipboard
[ "$(wait_bg)" = 0 ] || fail "clipboard: exit status $(cat "$work/status")"
expect_line "$work/clipboard.txt" 'clip: 日本 text'

# The error box, answered with Enter: the run ends as a failure.
run error_box
ready ready || finish
box=$(window_id 'エラー') || { fail "no error box"; finish; }
focus "$box" 'エラー' || finish
xdotool key Return
[ "$(wait_bg)" = 1 ] || fail "error_box: exit status $(cat "$work/status")"
expect_line "$work/error_box.txt" 'before'
finish
