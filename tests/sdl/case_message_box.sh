#!/usr/bin/env bash
# Our message box on the screen: its default button, keyboard (Enter,
# Escape, Tab, arrows, mnemonics) and mouse answers.
. "$(dirname "$0")/lib.sh"

# box TYPE KEYS... : shows a box of style TYPE, presses the keys, prints
# the answer.
box() {
  local type=$1
  shift
  rm -f "$work/status" "$work/out"
  start_bg "$build/sdl_probe" box "$type"
  local id
  id=$(window_id '確認') || {
    echo "no box for $type: status $(cat "$work/status" 2>/dev/null), $(cat "$work/err")"
    xwininfo -root -tree | grep -v 'has no name'
    return
  }
  focus "$id" '確認' || return
  if [ "$1" = click ]; then
    local geometry w h
    eval "$(xdotool getwindowgeometry --shell "$id")"
    # The only button is centred at the bottom.
    xdotool mousemove --window "$id" $((WIDTH / 2)) $((HEIGHT - 20)) click 1
  else
    xdotool key --delay 100 "$@"
  fi
  [ "$(wait_bg)" = 0 ] || fail "box $type did not end"
  sed -n 's/^answer //p' "$work/out"
}

MB_OKCANCEL=1 MB_YESNOCANCEL=3 MB_YESNO=4 MB_RETRYCANCEL=5 MB_ABORTRETRYIGNORE=2
DEF2=0x100 DEF3=0x200
check() { # EXPECTED TYPE KEYS...
  local want=$1
  shift
  local got
  got=$(box "$@")
  [ "$got" = "$want" ] || fail "box $1 with ${*:2}: answer '$got', expected $want"
}
check 1 0 Return                              # OK
check 1 0 Escape                              # OK has a way out
check 2 $MB_OKCANCEL Escape                   # Cancel
check 7 $((MB_YESNO | DEF2 | 0x20)) Return    # the default button
check 6 $((MB_YESNO | DEF2)) Tab Return       # Tab wraps round to Yes
check 7 $MB_YESNO Right space                 # arrows and Space
check 3 $((MB_ABORTRETRYIGNORE | DEF3)) shift+Tab Left Return
check 5 $MB_ABORTRETRYIGNORE i                # a mnemonic
check 7 $MB_YESNO Escape n                    # Escape cannot close Yes/No
check 2 $((MB_YESNOCANCEL | 0x30)) Escape
check 1 $((0x40)) click
finish
