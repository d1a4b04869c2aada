#!/usr/bin/env bash
# Runs one BASIC test program headless and compares what it did with the
# expectation files beside it (see tests/CMakeLists.txt). NAME.in is stdin,
# NAME.events the events file (docs/events.md). The printer is the file
# printer (print.pdf, print-2.pdf... in the work directory); NAME.prints is
# what the jobs must hold: per job file "== FILE", per page "-- page", per
# word "X Y H WORD" with the word's left edge, top and height in dots of
# 600 per inch, as pdftotext -bbox finds them.
# NAME.pixels holds pixel probes ("x y RRGGBB", "size W H") that
# PNG_PROBE (the third argument) checks in the screenshot the run takes;
# NAME.screen is the screen size (320x240 when there are probes).
# NAME.window-N.pixels probes the capture of the Nth visible user window
# (QUILLRUNNER_WINDOW_SHOTS) and NAME.window-N.txt is its caption.
set -u
quill=$1
src=$2
probe=${3:-}
# NAME.example names a program of examples/ that the test runs as it
# stands there; the expectation files are beside NAME.example.
case $src in
*.example)
  base=${src%.example}
  program=$(cd "$(dirname "$0")/../../examples" && pwd)/$(tr -d '[:space:]' <"$src")
  ;;
*)
  base=${src%.bas}
  program=$src
  ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# NAME_data/ holds input files the program finds in its directory.
[ -d "${base}_data" ] && cp -r "${base}_data"/. "$work"/

sources=("$program")
for extra in "${base}"_more*.bas; do
  [ -e "$extra" ] && sources+=("$extra")
done

input=/dev/null
[ -f "$base.in" ] && input="$base.in"
events=
[ -f "$base.events" ] && events="$base.events"
args=()
[ -f "$base.args" ] && read -r -a args <"$base.args"

screen=${QUILLRUNNER_SCREEN:-}
shot=
if [ -f "$base.pixels" ]; then
  shot="$work/screenshot.png"
  screen=320x240
fi
[ -f "$base.screen" ] && screen=$(tr -d '[:space:]' <"$base.screen")
# NAME.shotpath: a screenshot path of the test's own (one that cannot be
# written, say); nothing is probed then.
probed=$shot
if [ -f "$base.shotpath" ]; then
  shot=$(tr -d '\n' <"$base.shotpath")
  probed=
fi

window_shots=
if compgen -G "$base.window-*" >/dev/null; then
  window_shots="$work/windows"
  mkdir -p "$window_shots"
fi

(cd "$work" && QUILLRUNNER_BACKEND=headless QUILLRUNNER_WINDOW_SHOTS="$window_shots" QUILLRUNNER_CONSOLE_DUMP="$work/console.txt" \
  QUILLRUNNER_EVENTS="$events" QUILLRUNNER_PRINTER_FILE="$work/print.pdf" \
  QUILLRUNNER_SCREENSHOT="$shot" QUILLRUNNER_SCREEN="$screen" \
  timeout 240 "$quill" run "${sources[@]}" -- "${args[@]}" <"$input" >"$work/stdout" 2>"$work/stderr")
status=$?
# Runtime errors name their source file as given; the expectation has it
# without the directory.
sed -i "s|$(dirname "$program")/||g" "$work/stderr"

fail=0
expected_status=0
[ -f "$base.status" ] && expected_status=$(tr -d '[:space:]' <"$base.status")
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"
  fail=1
fi
for kind in out:stdout err:stderr console:console.txt; do
  ext=${kind%%:*}
  file=${kind#*:}
  if [ -f "$base.$ext" ] && ! diff -u "$base.$ext" "$work/$file"; then
    echo "$file differs from $base.$ext"
    fail=1
  fi
done
# The words of every job file, in job order.
print_words() {
  local n=1 file
  while :; do
    file=print.pdf
    [ $n -gt 1 ] && file=print-$n.pdf
    [ -f "$work/$file" ] || break
    echo "== $file"
    pdftotext -bbox "$work/$file" - |
      sed -n -e 's/^ *<page .*/-- page/p' \
        -e 's/.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)" xMax="[0-9.]*" yMax="\([0-9.]*\)">\(.*\)<\/word>.*/\1 \2 \3 \4/p' |
      awk '$1 == "--" { print; next }
        { w = $4; for (i = 5; i <= NF; i++) w = w " " $i
          printf "%d %d %d %s\n", $1 * 600 / 72 + 0.5, $2 * 600 / 72 + 0.5, ($3 - $2) * 600 / 72 + 0.5, w }'
    n=$((n + 1))
  done
}
if [ -f "$base.prints" ]; then
  print_words >"$work/prints"
  if ! diff -u "$base.prints" "$work/prints"; then
    echo "printed jobs differ from $base.prints"
    fail=1
  fi
fi
# NAME.files lists "path expected-file" pairs: files the program must leave.
if [ -f "$base.files" ]; then
  while read -r path expected; do
    [ -z "$path" ] && continue
    if ! cmp "$work/$path" "$(dirname "$src")/$expected"; then
      echo "file $path differs from $expected"
      fail=1
    fi
  done <"$base.files"
fi
if [ -n "$probed" ]; then
  if [ -z "$probe" ]; then
    echo "no pixel checker given for $base.pixels"
    fail=1
  elif ! "$probe" "$probed" "$base.pixels"; then
    echo "screenshot differs from $base.pixels"
    fail=1
  fi
fi
for expected in "$base".window-*; do
  [ -e "$expected" ] || continue
  n=${expected#"$base".window-}
  n=${n%.*}
  case $expected in
  *.txt)
    if ! diff -u "$expected" "$window_shots/$n.txt"; then
      echo "caption of window $n differs from $expected"
      fail=1
    fi
    ;;
  *.pixels)
    if [ -z "$probe" ]; then
      echo "no pixel checker given for $expected"
      fail=1
    elif ! "$probe" "$window_shots/$n.png" "$expected"; then
      echo "window $n differs from $expected"
      fail=1
    fi
    ;;
  esac
done
if [ $fail -ne 0 ]; then
  echo "--- stdout"; cat "$work/stdout"; echo "--- stderr"; cat "$work/stderr"
fi
exit $fail
