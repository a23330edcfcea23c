#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers) and runs each
# for the given number of seconds (default 60), two at a time (LUMOTRIX_FUZZ_JOBS=N: N at a
# time), starting from the seed corpus in fuzz/corpus/<name>. New inputs found go to
# build/fuzz/corpus/<name>; a finding (a broken property, a crash, a sanitizer report) leaves its
# input in build/fuzz and makes this script fail. Each target's line gives its inputs and inputs
# per second.
#   scripts/fuzz.sh [seconds] [target...]     all targets unless some are named
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
all=(fuzz_decoded_map fuzz_map_file fuzz_batch_plan fuzz_packet_framer fuzz_answers
     fuzz_text_number fuzz_mjpeg_parser)
targets=("${@:-${all[@]}}")
# The longest input worth trying: a map file and a few bytes more for the map readers; a few
# packets with noise between them for the framer; a plan of a dozen lines; a long typed number;
# a Content-Type and a few parts, some past the fuzz target's 512-byte part limit.
declare -A maxLength=([fuzz_map_file]=2100 [fuzz_decoded_map]=2100 [fuzz_batch_plan]=256
                      [fuzz_packet_framer]=600 [fuzz_answers]=64 [fuzz_text_number]=256
                      [fuzz_mjpeg_parser]=1400)

scripts/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]}"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# One input allocates far less than 16 MiB, so a use after free within an input is still caught;
# the default 256 MiB quarantine only makes every allocation touch fresh pages.
export ASAN_OPTIONS=quarantine_size_mb=16:malloc_context_size=0

run() {
    local target="$1" name="${1#fuzz_}"
    local corpus="build/fuzz/corpus/$name" log="build/fuzz/$1.log"
    mkdir -p "$corpus"
    if (cd build/fuzz && "./fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
            -max_len="${maxLength[$target]}" -artifact_prefix="./$target-" \
            "../../$corpus" "../../fuzz/corpus/$name") >"$log" 2>&1; then
        local units
        units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "== $target: ${units:-?} inputs in ${seconds} s, $((${units:-0} / seconds))/s, no finding"
    else
        grep -E 'property broken|ERROR|SUMMARY|Test unit written' "$log" >&2 || tail -n 20 "$log" >&2
        echo "== $target FAILED (log: $log)" >&2
        return 1
    fi
}

# Two at a time (one per core of a two-core machine) unless LUMOTRIX_FUZZ_JOBS says otherwise.
# wait -n collects each run's status.
jobs="${LUMOTRIX_FUZZ_JOBS:-2}"
status=0
running=0
for target in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || status=1
        running=$((running - 1))
    fi
    run "$target" &
    running=$((running + 1))
done
for ((; running > 0; running--)); do
    wait -n || status=1
done
exit $status
