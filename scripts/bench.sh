#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; extra arguments go to every benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh xvfb
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVANTOR_BUILD_TESTS=OFF -DVANTOR_BUILD_BENCH=ON
cmake --build build-release --parallel "$(nproc)"
for b in build-release/bench/bench_*; do
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b" "$@"
done
