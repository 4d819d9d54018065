#!/usr/bin/env bash
# Runs every fuzz target built in build-sanitize (scripts/test-sanitizers.sh builds them) for
# a short while on a copy of its seed corpus, two at a time, and fails on any finding: a
# crash, a broken check, undefined behaviour, a time-out, running out of memory or a leak.
# FUZZ_SECONDS sets the time per target (60), FUZZ_JOBS how many run at once (2).
#
# Leaks are checked with the fast unwinder, which cannot walk through Qt's frames (Qt is
# built without frame pointers), so fuzz/lsan-fast-unwind.txt drops leaks allocated inside
# Qt's libraries, among them Qt's own JSON parser leak (fuzz/README.md). What our code
# allocates itself and loses is still reported.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh clang libclang-rt-14-dev
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-2}
cmake --build build-sanitize --parallel "$(nproc)" --target fuzz

out=$PWD/build-sanitize/fuzz-short
rm -rf "$out"
mkdir -p "$out"
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan-fast-unwind.txt
# The targets that write files write them here, off the disk where there is a RAM disk.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm

run() {
    local t=$1
    local corpus=$out/$t/corpus artifacts=$out/$t/artifacts/
    mkdir -p "$corpus" "$artifacts"
    cp fuzz/corpus/"$t"/* "$corpus"/
    local dict=()
    [[ -f fuzz/dict/$t.dict ]] && dict=(-dict=fuzz/dict/"$t".dict)
    if build-sanitize/bin/fuzz_"$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts" "${dict[@]}" "$corpus" \
        >"$out/$t.log" 2>&1; then
        echo "fuzz: $t clean, $(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$t.log") inputs in ${seconds} s"
    else
        echo "fuzz: $t FAILED; the end of its log ($out/$t.log):"
        tail -n 40 "$out/$t.log"
        return 1
    fi
}
export -f run
export out seconds

targets=$(cd build-sanitize/bin && ls fuzz_* | sed 's/^fuzz_//')
echo "$targets" | xargs -P "$jobs" -I{} bash -c 'run {}'
