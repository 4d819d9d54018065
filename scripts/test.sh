#!/usr/bin/env bash
# Installs what is missing, builds everything (benchmarks included, so they keep
# compiling) and runs every test with CTest on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DVANTOR_BUILD_TESTS=ON -DVANTOR_BUILD_BENCH=ON
cmake --build build --parallel "$(nproc)"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
