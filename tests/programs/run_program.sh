#!/usr/bin/env bash
# Runs one BASIC test program headless and compares what it did with the
# expectation files beside it (see tests/CMakeLists.txt). NAME.in is stdin,
# NAME.events the events file (docs/events.md).
set -u
quill=$1
src=$2
base=${src%.bas}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sources=("$src")
for extra in "${base}"_more*.bas; do
  [ -e "$extra" ] && sources+=("$extra")
done

input=/dev/null
[ -f "$base.in" ] && input="$base.in"
events=
[ -f "$base.events" ] && events="$base.events"
args=()
[ -f "$base.args" ] && read -r -a args <"$base.args"

(cd "$work" && QUILLRUNNER_BACKEND=headless QUILLRUNNER_CONSOLE_DUMP="$work/console.txt" \
  QUILLRUNNER_EVENTS="$events" \
  timeout 240 "$quill" run "${sources[@]}" -- "${args[@]}" <"$input" >"$work/stdout" 2>"$work/stderr")
status=$?
# Runtime errors name their source file as given; the expectation has it
# without the directory.
sed -i "s|$(dirname "$src")/||g" "$work/stderr"

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
if [ $fail -ne 0 ]; then
  echo "--- stdout"; cat "$work/stdout"; echo "--- stderr"; cat "$work/stderr"
fi
exit $fail
