#!/usr/bin/env bash
# A "PROMPT" window's INPUT on a real screen: the window takes the focus,
# what is typed at it is echoed in it and stored, and the main window's
# INPUT takes the keys afterwards.
. "$(dirname "$0")/lib.sh"
src=$(cd "$(dirname "$0")" && pwd)

start_bg env QUILLRUNNER_CONSOLE_DUMP="$work/prompt.txt" "$build/quill" run "$src/prompt_window.bas"
wait_file "$work/ready1" || finish
id=$(window_id 'Ask') || { fail "no window"; finish; }
focus "$id" Ask || finish
xdotool type --delay 60 'abx'
xdotool key BackSpace
xdotool type --delay 300 'あ'
sleep 0.3
import -window "$id" "$work/ask.png"
xdotool key Return
wait_file "$work/ready2" || finish
# The echo is in the text window: ink right of "name: " (6 cells of 8).
ink=$(convert "$work/ask.png" -crop 24x16+48+0 -format '%[fx:maxima.intensity]' info:)
[ "$ink" != 0 ] || fail "no echo in the window"
main=$(window_id 'prompt_window') || { fail "no main window"; finish; }
focus "$main" prompt_window || finish
xdotool type --delay 60 '42'
xdotool key Return
[ "$(wait_bg)" = 0 ] || fail "exit status $(cat "$work/status")"
expect_line "$work/prompt.txt" 'got: abあ'
expect_line "$work/prompt.txt" 'n:  42'
finish
