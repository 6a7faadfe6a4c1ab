#!/bin/sh
# Starts a program on a private virtual display with a light window manager, waits, and saves a
# screenshot: scripts/screenshot.sh OUT.png [--wait SECONDS] COMMAND [ARGS...]
set -e
out=$1
shift
wait=3
if [ "$1" = "--wait" ]; then
    wait=$2
    shift 2
fi
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
sleep 1
DISPLAY=$display "$@" &
app=$!
sleep "$wait"
DISPLAY=$display xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out"
kill $app 2>/dev/null || true
echo "$out"
