#!/bin/sh
# Runs each attack on a fresh sharing server on loopback, with its default limits, while a
# well-behaved logged-in user measures its round trips: connection slots, memory, a burst of
# wrong-password logins, password guessing and a flood by a logged-in user. Prints the figures
# of each run, the server's memory and, for the guessing, how much log it wrote.
# Usage: tools/loadgen/run-attacks.sh [BUILD_DIR] [SECONDS]   (default build, 10)
# SERVER=path runs another server binary; KINDS="slots memory" runs only those attacks.
set -e
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
seconds=${2:-10}
server=${SERVER:-$build/server/pavione-server}
loadgen="$build/tools/loadgen/pavione-loadgen"
work=$(mktemp -d)
pid=
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
ulimit -n "$(ulimit -Hn)" 2>/dev/null || true

"$loadgen" provision --db "$work/attack.db" --users 400
echo "pw-victim" | "$server" --db "$work/attack.db" user add victim

# memory: 100 connections each with 1,000,000 bytes of one-byte lines (25 MB as the server
# counts them: the bound on everything buffered must drop the heaviest); memory-under: tiny lines that stay within the message limit as the server
# counts them (20,000 lines), held on 100 connections;
# logins-spread: the burst of wrong passwords from 32 addresses instead of one.
for kind in ${KINDS:-slots memory memory-under logins logins-spread guess flood}; do
    extra=
    if [ "$kind" = memory ]; then extra="--lines 500000"; fi
    if [ "$kind" = memory-under ]; then kind=memory; extra="--lines 20000"; fi
    if [ "$kind" = logins-spread ]; then kind=logins; extra="--addresses 32"; fi
    : >"$work/server.log"
    "$server" --db "$work/attack.db" --listen 127.0.0.1 --port 19392 --presence-port 19393 \
        2>>"$work/server.log" &
    pid=$!
    sleep 0.5
    "$loadgen" attack --kind "$kind" --port 19392 --presence-port 19393 --seconds "$seconds" \
        --server-pid "$pid" $extra
    kill "$pid"
    wait "$pid" || true
    pid=
    echo "  server log: $(wc -c <"$work/server.log") bytes"
done
