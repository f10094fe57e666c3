#!/usr/bin/env bash
# Side by side: `mapquill-tool map FILE.pict OUT.png` against ImageMagick's `convert FILE.pict
# OUT.png`, whole processes, on three PICT files made here with ImageMagick:
#   map8    314 x 491, 8-bit indexed PackBitsRect (the size of the game's strategic map)
#   true32  640 x 480, 32-bit DirectBitsRect, pack type 4
#   big1024 1024 x 1024, 32-bit DirectBitsRect, pack type 4
# Medians come from hyperfine (or a plain loop when it is missing). The goals: map8 at least 8 times
# and big1024 at least 10 times faster than convert (wall-clock medians, side by side).
#
# usage: bench/pict_vs_imagemagick.sh [path/to/mapquill-tool] [runs]
# The default tool path is build-release/tools/mapquill-tool/mapquill-tool; build it in Release.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
tool="$(realpath -m "${1:-$here/build-release/tools/mapquill-tool/mapquill-tool}")"
runs="${2:-30}"
convert_cmd="$(command -v convert || command -v convert-im6.q16 || true)"

if [[ ! -x "$tool" ]]; then
    echo "mapquill-tool not found at $tool (pass its path as the first argument)" >&2
    exit 2
fi
if [[ -z "$convert_cmd" ]]; then
    echo "ImageMagick convert not found" >&2
    exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

# Deterministic content: seeded plasma has the mix of runs and noise that real maps have.
"$convert_cmd" -size 314x491 -seed 7 plasma:tan-darkgreen -colors 200 -type Palette PICT:map8.pict
"$convert_cmd" -size 640x480 -seed 8 plasma:red-blue -type TrueColor PICT:true32.pict
"$convert_cmd" -size 1024x1024 -seed 9 plasma:green-yellow -type TrueColor PICT:big1024.pict

for f in map8 true32 big1024; do
    # Both sides must actually decode the file, or the timing means nothing.
    "$tool" map "$f.pict" "$f.mq.png" >/dev/null
    "$convert_cmd" "$f.pict" "$f.im.png"
    echo "$f: $(stat -c %s "$f.pict") bytes, $(identify -format '%wx%h' "$f.mq.png" 2>/dev/null || echo '?')"
done

. "$here/bench/median.sh"

# Wall-clock medians suffer when other jobs share the machine; the CPU time (user + system,
# mean) of each process is shown beside them. mapquill-tool deflates large PNG files on every core
# (ImageMagick's PNG writer uses one), so its wall-clock time depends on how many cores are free.
echo "cores: $(nproc)"
printf '\n%-8s %12s %12s %8s   %12s %12s %8s\n' file "mq wall ms" "im wall ms" speedup "mq cpu ms" "im cpu ms" speedup
for f in map8 true32 big1024; do
    if command -v hyperfine >/dev/null; then
        hyperfine -N --warmup 3 --runs "$runs" --export-json "$f.json" \
            -n mapquill "$tool map $f.pict $f.mq.png" \
            -n convert "$convert_cmd $f.pict $f.im.png" >/dev/null
        read -r mq im mqc imc < <(python3 -c "
import json
r=json.load(open('$f.json'))['results']
cpu=lambda x: (x['user']+x['system'])*1000
print(r[0]['median']*1000, r[1]['median']*1000, cpu(r[0]), cpu(r[1]))")
    else
        mq=$(median_of "$tool" map "$f.pict" "$f.mq.png")
        im=$(median_of "$convert_cmd" "$f.pict" "$f.im.png")
        mqc=$mq
        imc=$im
    fi
    awk -v f="$f" -v a="$mq" -v b="$im" -v c="$mqc" -v d="$imc" \
        'BEGIN {printf "%-8s %12.2f %12.2f %7.1fx   %12.2f %12.2f %7.1fx\n", f, a, b, b / a, c, d, d / c}'
done
