#!/usr/bin/env bash
# Sets up, builds and runs every test: the full build with warnings as errors and ctest, then
# (with clang present) the core again under AddressSanitizer + UndefinedBehaviorSanitizer with its
# tests and a bounded run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== format"
scripts/check-format.sh

echo "== build (warnings as errors)"
cmake -S . -B build-ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMQ_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-ci -j"$jobs"
echo "== tests"
(cd build-ci && ctest --output-on-failure -j"$jobs")

echo "== Windows cross build (mingw-w64): the core, mapquill-tool and the core's tests"
if command -v x86_64-w64-mingw32-g++ >/dev/null; then
  cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMQ_WERROR=ON -DMQ_BUILD_GUI=OFF "${launcher[@]}" >/dev/null
  cmake --build build-windows -j"$jobs"
  wine=$(command -v wine || command -v wine64 || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || true)
  if [ -n "$wine" ]; then
    echo "-- the core's tests under Wine"
    (cd build-windows && WINEDEBUG=-all ctest --output-on-failure -j"$jobs")
    echo "-- mapquill-tool.exe under Wine against the Linux build"
    WINE="$wine" scripts/windows-tool-smoke.sh build-windows/tools/mapquill-tool/mapquill-tool.exe \
      build-ci/tools/mapquill-tool/mapquill-tool
  else
    echo "-- skipped running the Windows tests: Wine is not installed (MQ_WINE=1 scripts/setup-deps.sh installs it)"
  fi
else
  echo "-- skipped: the mingw-w64 toolchain (g++-mingw-w64-x86-64) is not installed"
fi

if command -v clang++ >/dev/null; then
  echo "== core under ASan + UBSan, with the fuzz targets"
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMQ_WERROR=ON \
    -DMQ_BUILD_GUI=OFF -DMQ_SANITIZE=ON -DMQ_BUILD_FUZZ=ON -DMQ_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
  cmake --build build-fuzz -j"$jobs"
  (cd build-fuzz && ctest --output-on-failure -j"$jobs")
  seconds=${MQ_FUZZ_SECONDS:-30}
  for fuzzer in build-fuzz/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer"); name=${name#fuzz_}
    corpus=$(mktemp -d)
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
    echo "-- fuzz $name for ${seconds}s"
    log=$(mktemp)
    if ! "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix="build-fuzz/" "$corpus" >"$log" 2>&1; then
      tail -n 60 "$log"; echo "fuzz $name found a problem" >&2; exit 1
    fi
    grep -E '^Done|^#[0-9]+.*DONE' "$log" | tail -n 1 || true
    rm -rf "$corpus" "$log"
  done
fi
echo "== all tests passed"
