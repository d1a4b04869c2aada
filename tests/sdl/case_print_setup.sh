#!/usr/bin/env bash
# The print setup dialog on the screen (PRINTER without a name): the
# printers of a private CUPS scheduler in a list with the default selected,
# chosen with the keys and with the mouse; Cancel, by Escape or by its
# button, keeps the printer. Then the file printer as the only printer.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/cups.sh"
src=$(cd "$(dirname "$0")" && pwd)
caption='プリンタの設定'

# Waits for the N-th dialog to be drawn and to have the keyboard; sets $dlg
# to its window (never the one before, which may not be gone yet) and
# WIDTH, HEIGHT to its size.
dlg=
dialog() {
  local n=$1 id prev=$dlg
  dlg=
  for _ in $(seq 1 200); do
    id=$(xwininfo -root -tree 2>/dev/null | grep -F " \"$caption" | awk '{print $1}' | grep -vx -- "$prev" | head -1)
    if [ -n "$id" ] && [ "$id" != "$prev" ] && [ "$(grep -c "^focus: $caption" "$work/err" 2>/dev/null)" -ge "$n" ] &&
      [ "$(focused_title)" = "$caption" ] &&
      [ "$(xdotool getwindowfocus 2>/dev/null)" = "$((id))" ]; then
      dlg=$id
      break
    fi
    # Without a window manager nobody else gives it the keyboard.
    [ -n "$id" ] && timeout 2 xdotool windowfocus --sync "$id" 2>/dev/null
    sleep 0.1
  done
  [ -n "$dlg" ] || { fail "no print setup dialog $n"; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$dlg")"
}

# The dialog's rows and buttons follow from its font's line height, which
# its height gives: 7 lines and 80 pixels with a list of four rows.
row_y() { # ROW
  local l=$(((HEIGHT - 80) / 7))
  echo $((2 * l + 27 + $1 * (l + 4) + (l + 4) / 2))
}
ok_x() { echo $((WIDTH - 140)); }
button_y() { echo $((HEIGHT - 13 - ((HEIGHT - 80) / 7 + 11) / 2)); }

run() {
  rm -f "$work/status"
  start_bg env QUILLRUNNER_CONSOLE_DUMP="$work/console.txt" "$build/quill" run "$src/print_setup.bas"
}

if start_cups Office Second Third; then
  run
  # 1: the keys: Down from the default (Office) to Second, Enter.
  dialog 1 || finish
  xdotool key Down Return
  # 2: the mouse: a click on Third, then on OK.
  dialog 2 || finish
  xdotool mousemove --window "$dlg" 40 "$(row_y 2)" click 1
  sleep 0.2
  xdotool mousemove --window "$dlg" "$(ok_x)" "$(button_y)" click 1
  # 3: Escape keeps Third, even after a move in the list.
  dialog 3 || finish
  xdotool key Up Escape
  # 4: the Cancel button, reached with Tab, keeps it too.
  dialog 4 || finish
  xdotool key Down Tab Tab Return
  status=$(wait_bg)
  [ "$status" = 0 ] || fail "exit status $status"
  expect_line "$work/console.txt" 'done'
  queues=$(completed_queues 3 | tr '\n' ' ')
  [ "$queues" = "Second Third Third " ] || fail "jobs went to: $queues"
  for n in 1 2 3; do
    want=$(echo one two three | cut -d' ' -f$n)
    got=$(job_text "$n")
    [ "$got" = "$want" ] || fail "job $n printed '$got', expected '$want'"
  done
  stop_cups
  unset CUPS_SERVER
else
  echo "cupsd cannot run here: the CUPS part is left out"
fi

# The file printer is the only printer: Enter takes it, Cancel keeps it.
export QUILLRUNNER_PRINTER_FILE="$work/file.pdf"
dlg=
run
dialog 1 || finish
xdotool key Return
dialog 2 || finish
xdotool mousemove --window "$dlg" 40 "$(row_y 0)" click 1
sleep 0.2
xdotool mousemove --window "$dlg" "$(ok_x)" "$(button_y)" click 1
dialog 3 || finish
xdotool key Escape
dialog 4 || finish
xdotool key Tab Tab space
status=$(wait_bg)
[ "$status" = 0 ] || fail "file printer: exit status $status"
for f in file.pdf:one file-2.pdf:two file-3.pdf:three; do
  got=$(pdftotext "$work/${f%%:*}" - 2>/dev/null | tr -s ' \n\f' ' ' | sed 's/ $//')
  [ "$got" = "${f#*:}" ] || fail "${f%%:*} holds '$got', expected '${f#*:}'"
done
[ -e "$work/file-4.pdf" ] && fail "a fourth document was printed"
finish
