#!/usr/bin/env bash
# The Windows build of mapquill-tool, run under Wine, must print and write exactly what the Linux
# build does: dump, build (through a file and through standard output), batnames, pictures, and
# the help; `map` there has no PNG writer and must say so without writing anything.
#
# usage: WINE=/path/to/wine scripts/windows-tool-smoke.sh path/to/mapquill-tool.exe path/to/mapquill-tool
set -euo pipefail
cd "$(dirname "$0")/.."
exe="$1"
linux="$2"
wine="${WINE:-wine}"
export WINEDEBUG=-all
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

win() { "$wine" "$exe" "$@"; }
same() {   # label, file from Windows, file from Linux
    if ! cmp -s "$2" "$3"; then
        echo "windows-tool-smoke: $1 differs between the Windows and the Linux build" >&2
        diff <(od -c "$2" | head -20) <(od -c "$3" | head -20) >&2 || true
        exit 1
    fi
}

for n in 0 1 2 3; do
    win dump "examples/OvData$n" >"$work/win.json"
    "$linux" dump "examples/OvData$n" >"$work/linux.json"
    same "dump OvData$n" "$work/win.json" "$work/linux.json"
    win build "$work/win.json" "$work/win.ovdata"
    same "build OvData$n" "$work/win.ovdata" "examples/OvData$n"
    win build "$work/win.json" - >"$work/win-stdout.ovdata"
    same "build OvData$n to standard output" "$work/win-stdout.ovdata" "examples/OvData$n"
done
win batnames examples/OvData0 "$work/win.batnames"
"$linux" batnames examples/OvData0 "$work/linux.batnames"
same "batnames" "$work/win.batnames" "$work/linux.batnames"
for source in tests/data/forks/map_hcopy.hqx tests/data/forks/map_mb3.bin tests/data/brm/Intrface_test.brm; do
    win pictures "$source" >"$work/win.list"
    "$linux" pictures "$source" >"$work/linux.list"
    same "pictures $source" "$work/win.list" "$work/linux.list"
done
win --help >"$work/win.help"
"$linux" --help >"$work/linux.help"
same "--help" "$work/win.help" "$work/linux.help"

status=0
win map tests/data/forks/map_hcopy.hqx 1013 "$work/map.png" 2>"$work/map.err" || status=$?
if [ "$status" -ne 1 ] || ! grep -q "cannot write PNG files" "$work/map.err" || [ -e "$work/map.png" ]; then
    echo "windows-tool-smoke: map should refuse with a message and write nothing (status $status)" >&2
    cat "$work/map.err" >&2
    exit 1
fi
echo "windows-tool-smoke: the Windows build agrees with the Linux build"
