#!/usr/bin/env bash
# SIGTERM and Ctrl-C (SIGINT) end a running program as closing its window
# does: what it wrote to files is there, and the exit status is 143 or 130.
# SIGTERM goes to `quill run`, which passes it on; SIGINT goes to the
# program itself, as the terminal sends it to the whole foreground group.
set -u
set -m # background jobs keep the default signal dispositions
quill=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/spin.bas" <<'BAS'
OPEN "out.txt" FOR OUTPUT AS #1
FOR i = 1 TO 3
  PRINT #1, "line"; i
NEXT
PRINT "ready"
WHILE 1
WEND
BAS
fail=0
for case in TERM:143 INT:130; do
  sig=${case%%:*}
  want=${case#*:}
  rm -f "$work/out.txt" "$work/stdout"
  (cd "$work" && exec env QUILLRUNNER_BACKEND=headless "$quill" run spin.bas >stdout 2>stderr) &
  pid=$!
  for _ in $(seq 600); do
    grep -q ready "$work/stdout" 2>/dev/null && break
    sleep 0.1
  done
  target=$pid
  if [ "$sig" = INT ]; then target=$(pgrep -P "$pid" | head -n 1); fi
  kill -s "$sig" "$target"
  wait "$pid"
  status=$?
  if [ "$status" != "$want" ]; then
    echo "SIG$sig: exit status $status, expected $want"
    fail=1
  fi
  printf 'line  1\r\nline  2\r\nline  3\r\n' >"$work/expected"
  if ! cmp -s "$work/out.txt" "$work/expected"; then
    echo "SIG$sig: out.txt holds:"
    od -c "$work/out.txt"
    fail=1
  fi
done
exit $fail
