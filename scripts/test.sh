#!/usr/bin/env bash
# Installs what is missing, builds Brisa (Release with assertions) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

export CCACHE_BASEDIR="$PWD"
build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISA_ASSERTS=ON -DBRISA_BUILD_BENCH=ON
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
