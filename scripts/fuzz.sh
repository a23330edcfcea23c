#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers) and runs each
# for the given number of seconds (default 60), starting from the seed corpus in fuzz/corpus.
# New inputs found go to build/fuzz/corpus/<target>; a crash leaves its input in build/fuzz and
# makes this script fail.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for target in fuzz_map_file fuzz_answers fuzz_text_number; do
    name="${target#fuzz_}"
    corpus="build/fuzz/corpus/$name"
    log="build/fuzz/$target.log"
    mkdir -p "$corpus"
    echo "== $target for ${seconds}s"
    if (cd build/fuzz && "./fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
            -max_len=4096 -artifact_prefix="./$target-" "../../$corpus" "../../fuzz/corpus/$name") \
            >"$log" 2>&1; then
        grep -E '^Done|stat::number_of_executed_units' "$log" || true
    else
        grep -E 'ERROR|SUMMARY|Test unit written' "$log" >&2 || tail -n 20 "$log" >&2
        echo "$target FAILED (log: $log)" >&2
        status=1
    fi
done
exit $status
