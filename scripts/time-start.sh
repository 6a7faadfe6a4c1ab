#!/bin/bash
# Times the desktop program on a data directory: how long until its window shows, its resident
# memory then, and how long it takes to save and end after SIGTERM. Run it on a virtual display:
#   xvfb-run -a scripts/time-start.sh build/src/pavione DATA_DIR [RUNS]
# Settings go to a temporary home, so the user's own are not touched. Needs xdotool.
set -e
program=$1
data=$2
runs=${3:-5}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
for ((run = 0; run < runs; run++)); do
    start=$(date +%s%N)
    HOME=$home XDG_CONFIG_HOME=$home/.config "$program" --data-dir "$data" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do sleep 0.01; done
    shown=$(date +%s%N)
    resident=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")
    sleep 1
    stop=$(date +%s%N)
    kill -TERM "$pid"
    wait "$pid" || true
    ended=$(date +%s%N)
    echo "shown $(((shown - start) / 1000000)) ms, resident $((resident / 1024)) MiB," \
        "exit $(((ended - stop) / 1000000)) ms"
done
