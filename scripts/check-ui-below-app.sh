#!/bin/sh
# Fails when the views include the application's headers: src/app builds on src/ui, never the
# other way round, and the views reach the document and the application through interfaces.
top=${1:-$(dirname "$0")/..}
cd "$top" || exit 2
hits=$(grep -rnE '#\s*include\s*"app/' src/ui 2>/dev/null)
if [ -n "$hits" ]; then
    echo "src/ui includes src/app headers:"
    echo "$hits"
    exit 1
fi
echo "src/ui does not include src/app"
