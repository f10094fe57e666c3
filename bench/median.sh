# Sourced by the side-by-side scripts: median_of CMD... prints the median wall time in
# milliseconds (3 decimals) of CMD run $runs times; the fallback where hyperfine is missing.
median_of() {
    local -a times=()
    for ((i = 0; i < runs; i++)); do
        local t0 t1
        t0=$(date +%s%N)
        "$@" >/dev/null 2>&1
        t1=$(date +%s%N)
        times+=($(((t1 - t0) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.3f", m/1000}'
}
