#!/bin/sh
# Fails when a core module includes a Qt header: the core must build and test without Qt.
top=${1:-$(dirname "$0")/..}
cd "$top" || exit 2
hits=$(grep -rnE '#\s*include\s*[<"](Q[A-Za-z]*|qt[a-z]*/)' src/text src/board src/records src/library src/net src/capture 2>/dev/null)
if [ -n "$hits" ]; then
    echo "Qt headers included in the core:"
    echo "$hits"
    exit 1
fi
echo "core is free of Qt headers"
