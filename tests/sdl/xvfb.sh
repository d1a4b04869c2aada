#!/usr/bin/env bash
# Starts or stops the private X server of the on-screen tests.
#   xvfb.sh start DIR   starts Xvfb on a free display (DIR/display, DIR/pid)
#   xvfb.sh stop DIR    stops the server started in DIR
set -u
cmd=$1
dir=$2
case "$cmd" in
start)
  mkdir -p "$dir"
  rm -f "$dir/display" "$dir/pid"
  # -displayfd picks a display number nobody uses and writes it to fd 3.
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
  echo $! >"$dir/pid"
  for _ in $(seq 1 100); do
    if [ -s "$dir/display" ] && DISPLAY=":$(cat "$dir/display")" xdpyinfo >/dev/null 2>&1; then
      echo "Xvfb on :$(cat "$dir/display")"
      exit 0
    fi
    sleep 0.1
  done
  echo "Xvfb did not start"; cat "$dir/xvfb.log"
  exit 1
  ;;
stop)
  if [ -f "$dir/pid" ]; then
    pid=$(cat "$dir/pid")
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    rm -f "$dir/pid" "$dir/display"
  fi
  exit 0
  ;;
esac
echo "usage: xvfb.sh start|stop DIR" >&2
exit 2
