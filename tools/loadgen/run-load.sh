#!/bin/sh
# Runs the sharing server's load measurements on loopback: 1,000 clients broadcasting 100
# messages per second in total, 10,000 idle logged-in clients, and 1,000 logins in a burst, the
# last once with cheap test hashes and once with accounts hashed at the standard strength.
# All clients come from 127.0.0.1, so the limits per address and on password checks at once are
# lifted for these runs (tools/loadgen/run-attacks.sh measures the server with its defaults).
# Usage: tools/loadgen/run-load.sh [BUILD_DIR]   (default build)
set -e
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
server="$build/server/pavione-server"
loadgen="$build/tools/loadgen/pavione-loadgen"
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
ulimit -n "$(ulimit -Hn)" 2>/dev/null || true

"$loadgen" provision --db "$work/load.db" --users 10000

start_server() {
    "$server" --db "${1:-$work/load.db}" --listen 127.0.0.1 --port 19292 --presence-port 19293 \
        --max-connections 12000 --max-connections-per-address 0 --max-login-checks 0 \
        --max-login-checks-per-address 0 2>>"$work/server.log" &
    pid=$!
    sleep 0.5
}
stop_server() {
    kill "$pid"
    wait "$pid" || true
}

start_server
"$loadgen" broadcast --port 19292 --clients 1000 --rate 100 --seconds 20 --server-pid "$pid"
stop_server

start_server
"$loadgen" idle --port 19292 --clients 10000 --server-pid "$pid"
stop_server

start_server
"$loadgen" burst --port 19292 --clients 1000 --server-pid "$pid"
stop_server

echo "== 1,000 accounts with standard-strength hashes"
i=0
while [ $i -lt 1000 ]; do echo "s$i pw-s$i"; i=$((i + 1)); done | "$server" --db "$work/standard.db" user import
start_server "$work/standard.db"
"$loadgen" burst --port 19292 --clients 1000 --prefix s --server-pid "$pid"
stop_server
