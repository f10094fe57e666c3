#!/bin/sh
# Rebuilds the demo files OvData0..OvData3 from their JSON sources in src/.
# Usage: examples/generate.sh [path/to/mapquill-tool]
# Without an argument the first build*/tools/mapquill-tool/mapquill-tool of the checkout is used.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-}
if [ -z "$tool" ]; then
    for candidate in "$here"/../build*/tools/mapquill-tool/mapquill-tool; do
        if [ -x "$candidate" ]; then
            tool=$candidate
            break
        fi
    done
fi
if [ -z "$tool" ] || [ ! -x "$tool" ]; then
    echo "generate.sh: mapquill-tool not found; build it or pass its path" >&2
    exit 2
fi
for source in "$here"/src/OvData*.json; do
    name=$(basename "$source" .json)
    "$tool" build "$source" "$here/$name"
    echo "wrote $name"
done
