#!/usr/bin/env bash
# Sets up, builds and starts the editor (only what building and running need: no tests).
# Arguments go to the editor: scripts/run.sh examples/OvData0
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh run
# The tests are configured only where their packages are (scripts/test.sh installs them), so a
# build folder that a developer set up with tests keeps them.
tests=OFF
dpkg-query -W -f='${Status}' libgtest-dev 2>/dev/null | grep -q "install ok installed" && tests=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMQ_BUILD_TESTS=$tests >/dev/null
cmake --build build -j"$(nproc)" --target mapquill
exec build/src/mapquill "$@"
