#!/bin/sh
# Builds Pavione and starts it with its data directory under build/.
set -e
. "$(dirname "$0")/deps.sh"
pavione_install_deps
pavione_build --target pavione pavione-cli
top=$(cd "$(dirname "$0")/.." && pwd)
data="$top/build/data"
mkdir -p "$data"
[ -f "$data/opening.txt" ] || cp "$top/res/opening.txt" "$data/" 2>/dev/null || true
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found. To start Pavione on a virtual display, run:"
    echo "    xvfb-run -a $0"
    exit 1
fi
exec "$top/build/src/pavione" --data-dir "$data" "$@"
