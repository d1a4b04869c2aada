# Shared by the on-screen test cases: sourced with the build directory and
# the fixture's directory as $1 and $2.
set -u
build=$1
fixture=$2
if [ ! -s "$fixture/display" ]; then
  echo "no X server (the sdl.start_xvfb fixture did not run)"
  exit 1
fi
export DISPLAY=":$(cat "$fixture/display")"
export QUILLRUNNER_BACKEND=sdl
# The display says on stderr ("focus: TITLE") when a window has the keyboard.
export QUILLRUNNER_FOCUS_LOG=1
unset WAYLAND_DISPLAY
work=$(mktemp -d)
bg_pid=
# The background command runs in a process group of its own, so that the
# program it starts (quill runs the engine as a child) ends with it.
stop_bg() {
  if [ -n "$bg_pid" ]; then kill -- "-$bg_pid" 2>/dev/null; fi
  bg_pid=
}
cleanup() {
  stop_bg
  [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Runs a command in the background (output in $work/out, $work/err); its
# exit status lands in $work/status.
start_bg() {
  stop_bg
  rm -f "$work/status"
  setsid bash -c 'cd "$1" && shift && "$@" >"$0/out" 2>"$0/err"; echo $? >"$0/status"' \
    "$work" "$work" "$@" &
  bg_pid=$!
}

# Waits (up to 20 s) for the background command to end; prints its status,
# or "sanitizer" when a sanitizer build reported an error (its exit status
# could be the one a test expects).
wait_bg() {
  for _ in $(seq 1 200); do
    if [ -s "$work/status" ]; then
      if grep -q 'ERROR: [A-Za-z]*Sanitizer' "$work/err" 2>/dev/null; then
        echo sanitizer
      else
        cat "$work/status"
      fi
      return 0
    fi
    sleep 0.1
  done
  echo timeout
}

# Waits until FILE exists (up to 20 s).
wait_file() {
  for _ in $(seq 1 200); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  fail "no $1"
  return 1
}

# Waits until a line matching PATTERN is in FILE (up to 20 s).
wait_line() {
  for _ in $(seq 1 200); do
    grep -q -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no line '$2' in $1"
  return 1
}

# The id of the window whose name starts with NAME (up to 20 s). The X
# tree is read directly: xdotool's search misses Japanese names.
window_id() {
  local id
  for _ in $(seq 1 200); do
    id=$(xwininfo -root -tree 2>/dev/null | grep -F " \"$1" | head -1 | awk '{print $1}')
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# The title in the last focus line of the background command's stderr.
focused_title() {
  grep '^focus: ' "$work/err" 2>/dev/null | tail -1 | sed 's/^focus: //'
}

# Gives window ID, whose title starts with NAME, the keyboard and puts the
# pointer over it; waits (up to 20 s) until the program says the window has
# the keyboard, so that no key typed next is lost.
focus() { # ID NAME
  local name=${2:-}
  xdotool mousemove --window "$1" 5 5 2>/dev/null
  if [ -z "$name" ]; then # no name to wait for: a pause has to do
    xdotool windowfocus "$1" 2>/dev/null
    sleep 0.5
    return 0
  fi
  for _ in $(seq 1 100); do
    case "$(focused_title)" in
    "$name"*)
      [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ] && return 0
      ;;
    esac
    # Without a window manager nobody else gives it the keyboard.
    timeout 2 xdotool windowfocus --sync "$1" 2>/dev/null
    sleep 0.2
  done
  fail "window '$name' never got the keyboard"
  return 1
}

# Takes a screenshot of window ID into FILE once its pixel X Y has COLOUR
# (the picture reaches the screen a frame after it is drawn; up to 10 s).
shot_when() { # ID FILE X Y COLOUR
  for _ in $(seq 1 50); do
    import -window "$1" "$2" 2>/dev/null && [ "$(pixel "$2" "$3" "$4")" = "$5" ] && return 0
    sleep 0.2
  done
  return 1
}

# The colour of pixel X Y of a PNG as #RRGGBB.
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'
}

expect_pixel() { # PNG X Y COLOUR
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "pixel $2,$3 of $(basename "$1") is $got, expected $4"
}

expect_line() { # FILE LINE
  grep -qx -- "$2" "$1" || fail "no line '$2' in $(basename "$1")"
}

finish() {
  if [ "$failures" -ne 0 ]; then
    for f in out err; do echo "--- $f"; cat "$work/$f" 2>/dev/null; done
    exit 1
  fi
  echo "passed"
  exit 0
}
