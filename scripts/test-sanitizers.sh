#!/usr/bin/env bash
# Builds the logic tests of radar/, widgets/ and tables/ and the fuzz targets in one tree
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer (undefined behaviour aborts,
# it does not just print), and runs those tests with CTest on the offscreen platform.
# The window and simulator tests are left to the normal build: instrumenting them too
# would double the time of .ci/run on a 2-core machine. The fuzz targets are built here for
# scripts/fuzz-short.sh, which runs each for a minute; fuzz/README.md says how to run longer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh clang libclang-rt-14-dev
units=()
for dir in radar widgets tables; do
    units+=($(sed -n 's/^vantor_add_qtest(\([a-z0-9_]*\).*/\1/p' "tests/$dir/CMakeLists.txt"))
done
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTOR_BUILD_TESTS=ON -DVANTOR_BUILD_BENCH=OFF -DVANTOR_BUILD_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build-sanitize --parallel "$(nproc)" --target fuzz "${units[@]/#/tst_}"
cd build-sanitize
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/../scripts/lsan-suppressions.txt
pattern=$(IFS='|'; echo "^(${units[*]})\$")
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" -R "$pattern"
