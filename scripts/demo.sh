#!/usr/bin/env bash
# Installs, builds and runs Quelvane with a virtual receiver (no hardware needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELVANE_TESTS=OFF -DQUELVANE_BENCHMARKS=OFF
cmake --build build -j"$(nproc)" --target quelvane
exec ./build/quelvane --simulate "$@"
