#!/bin/sh
# Builds everything and runs every test; CTest's summary ends the output.
set -e
. "$(dirname "$0")/deps.sh"
pavione_install_deps
pavione_build
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top/build"
exec ctest --output-on-failure -j2
