#!/usr/bin/env bash
# Cold start of the editor: process start to the About window's first paint, under Xvfb.
# Usage: bench/cold_start.sh [MAPQUILL_BINARY] [RUNS]   (prints every run and the median, ms)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
binary=${1:-$here/../build/src/mapquill}
runs=${2:-21}
. "$here/../scripts/xvfb-session.sh"
xvfb_start
unset QT_QPA_PLATFORM
times=()
for _ in $(seq 1 "$runs"); do
  start=$(date +%s%N)
  line=$(MAPQUILL_STARTUP_PROBE=1 "$binary" 2>/dev/null | grep '^first-paint' || true)
  [ -n "$line" ] || { echo "no first paint reported" >&2; exit 1; }
  painted=${line#first-paint }
  times+=($(( (painted - start) / 1000 )))
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END {
  printf "runs %d, median %.1f ms, min %.1f ms, max %.1f ms\n", NR, a[int((NR + 1) / 2)] / 1000, a[1] / 1000, a[NR] / 1000 }'
