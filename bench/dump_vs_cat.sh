#!/usr/bin/env bash
# Side by side: `mapquill-tool dump FILE` against `cat FILE`, both to /dev/null, whole processes,
# on the largest OvData file there can be (11 sectors x 11 ops x 11 battles, every name 49
# characters, 95 243 bytes), made here with the tool's own build command. The goal: dump takes at
# most 4 times as long as cat (medians). Medians come from hyperfine (or a plain loop when it is
# missing); the CPU time (user + system, mean) is shown beside them, as wall-clock medians suffer
# when other jobs share the machine.
#
# usage: bench/dump_vs_cat.sh [path/to/mapquill-tool] [runs]
# The default tool path is build-release/tools/mapquill-tool/mapquill-tool; build it in Release.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
tool="$(realpath -m "${1:-$here/build-release/tools/mapquill-tool/mapquill-tool}")"
runs="${2:-100}"
if [[ ! -x "$tool" ]]; then
    echo "mapquill-tool not found at $tool (pass its path as the first argument)" >&2
    exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - <<'PY'
import json
def name(text, fill):
    return text.ljust(49, fill)
sectors = []
for s in range(11):
    ops = []
    for o in range(11):
        battles = [{"id": s * 1000 + o * 10 + b, "name": name("Battle %d-%d-%d " % (s, o, b), "x"),
                    "rect": [b, o, b + 100, o + 100], "flags": [b % 2, 1, 0]} for b in range(11)]
        ops.append({"id": s * 100 + o, "name": name("Operation %d-%d " % (s, o), "y"), "rect": [1, 2, 3, 4],
                    "battles": battles})
    sectors.append({"id": s, "name": name("Sector %d " % s, "z"), "rect": [0, 0, 10, 10], "ops": ops})
json.dump({"resource_id": 1018, "sectors": sectors}, open("largest.json", "w"))
PY
"$tool" build largest.json OvDataLargest
"$tool" dump OvDataLargest >/dev/null
echo "OvDataLargest: $(stat -c %s OvDataLargest) bytes"

. "$here/bench/median.sh"

if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 10 --runs "$runs" --output=null --export-json times.json \
        -n dump "$tool dump OvDataLargest" -n cat "cat OvDataLargest" >/dev/null
    read -r dump cat dumpc catc < <(python3 -c "
import json
r=json.load(open('times.json'))['results']
cpu=lambda x: (x['user']+x['system'])*1000
print(r[0]['median']*1000, r[1]['median']*1000, cpu(r[0]), cpu(r[1]))")
else
    dump=$(median_of "$tool" dump OvDataLargest)
    cat=$(median_of cat OvDataLargest)
    dumpc=$dump
    catc=$cat
fi
printf '\n%-10s %12s %12s %8s   %12s %12s %8s\n' "" "dump wall ms" "cat wall ms" ratio "dump cpu ms" "cat cpu ms" ratio
awk -v a="$dump" -v b="$cat" -v c="$dumpc" -v d="$catc" \
    'BEGIN {printf "%-10s %12.2f %12.2f %7.2fx   %12.2f %12.2f %7.2fx   (goal: at most 4x)\n", "largest", a, b, a / b, c, d, c / d}'
