#!/usr/bin/env bash
# A console program loads none of the display, media, synthesizer, MIDI
# port, font matching, print and collation libraries nor the code page
# converter; a program that lists
# the printers loads CUPS and nothing else of them, one that compares strings
# loads ICU, one whose console font is not an IPA face loads fontconfig; a
# library that cannot be loaded leaves its service without devices.
set -u
quill=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lazy='libSDL2-2|libSDL2_mixer|libfluidsynth|libasound|libfontconfig|libcups|libcairo|libicu|gconv/CP932'
cat >"$work/console.bas" <<'BAS'
PRINT "hello"; 1 + 2
BAS
cat >"$work/printers.bas" <<'BAS'
PRINTER "no such printer"
PRINT "done"
BAS
cat >"$work/compare.bas" <<'BAS'
IF "a" < "B" THEN PRINT "collated" ELSE PRINT "bytes"
BAS
fail=0
"$quill" build "$work/compare.bas" -o "$work/compare" || exit 1
"$quill" build "$work/console.bas" -o "$work/console" || exit 1
"$quill" build "$work/printers.bas" -o "$work/printers" || exit 1
"$quill" build --font-face "Courier" "$work/console.bas" -o "$work/courier" || exit 1
loaded() { # the lazy libraries the dynamic loader opened for a run of $1
  (cd "$work" && LD_DEBUG=files QUILLRUNNER_BACKEND=headless "./$1" 2>&1 >/dev/null) |
    grep -oE "file=[^ ]*($lazy)[^ ]*" | sort -u | tr '\n' ' '
}
got=$(loaded console)
if [ -n "$got" ]; then
  echo "a console program loaded: $got"
  fail=1
fi
got=$(loaded printers)
case "$got" in
  *libcups*) ;;
  *) echo "listing the printers did not load CUPS: $got"; fail=1 ;;
esac
case "$got" in
  *SDL2*|*fluidsynth*) echo "listing the printers loaded more: $got"; fail=1 ;;
esac
got=$(loaded courier)
case "$got" in
  *libfontconfig*) ;;
  *) echo "a console font other than IPA's did not load fontconfig: $got"; fail=1 ;;
esac
got=$(cd "$work" && QUILLRUNNER_BACKEND=headless ./courier 2>&1)
if [ "$got" != "hello  3" ]; then
  echo "with a Courier console: $got"; fail=1
fi
got=$(loaded compare)
case "$got" in
  *libicui18n*) ;;
  *) echo "comparing strings did not load ICU: $got"; fail=1 ;;
esac
case "$got" in
  *libcups*|*SDL2*) echo "comparing strings loaded more: $got"; fail=1 ;;
esac
got=$(cd "$work" && QUILLRUNNER_BACKEND=headless ./compare 2>&1)
if [ "$got" != "collated" ]; then
  echo "a < B: $got"; fail=1
fi
# A CUPS library that is not one: the program runs as on a machine without
# printers (here: the same runtime error) and says why on stderr.
want=$(cd "$work" && QUILLRUNNER_BACKEND=headless ./printers 2>/dev/null; echo "status $?")
mkdir -p "$work/lib"
echo "not a library" >"$work/lib/libcups.so.2"
got=$(cd "$work" && LD_LIBRARY_PATH="$work/lib" QUILLRUNNER_BACKEND=headless ./printers 2>"$work/err"; echo "status $?")
if ! grep -q "cannot load libcups.so.2" "$work/err"; then
  echo "no message about the missing library:"; cat "$work/err"; fail=1
fi
if [ "$got" != "$want" ]; then
  echo "without CUPS: $got; with it: $want"; fail=1
fi
exit $fail
