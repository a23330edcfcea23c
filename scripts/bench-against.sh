#!/usr/bin/env bash
# The window without a camera, this build against the build of another revision (by default
# bf4e612, the program before the camera), in one run: start-up from launch to the first
# painted window and the resident memory after it (bars: this build within 10 % of the other),
# and the time from a click on a pick grid cell to its packet. REV's own benchmarks are built
# in a git worktree of their own under build/, removed afterwards. Notes go to
# build/default/bench-against.log.
#   scripts/bench-against.sh [REV]
set -euo pipefail
cd "$(dirname "$0")/.."
rev=${1:-bf4e612}
short=$(git rev-parse --short "$rev^{commit}")
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target bench_startup bench_pick >/dev/null

other=build/against-$short
figures=$(mktemp -d)
cleanup() {
    git worktree remove --force "$other" 2>/dev/null || rm -rf "$other"
    git worktree prune
    rm -rf "$figures"
}
trap cleanup EXIT
git worktree add --detach "$other" "$rev" >/dev/null 2>&1
# The same compiler and linker as this build, so that only the code differs.
cmake -S "$other" -B "$other/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld \
    -DLUMOTRIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$other/build" -j "$(nproc)" --target bench_startup bench_pick >/dev/null

export QT_QPA_PLATFORM=offscreen
log=build/default/bench-against.log
: >"$log"
new=build/default/bench
old=$other/build/bench

# The value of a figure in a benchmark's table: "| figure | 12.345 ms | ...".
value() {
    awk -F'|' -v figure="$1" '
        { f = $2; gsub(/^ +| +$/, "", f) }
        f == figure { split($3, v, " "); print v[1] }'
}
median() {
    sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Start-up, the runs of both builds alternating. Line-buffered output for both (stdbuf, passed
# on to every run they start): older start-up programs write their figures only at exit, which
# would count their teardown as start-up.
startup=$(stdbuf -oL "$new/bench_startup" --against "$PWD/$old/bench_startup" 2>>"$log" || true)
printf '%s\n' "$startup" >>"$log"
launch_new=$(value "start-up from launch to the first painted window" <<<"$startup")
launch_old=$(value "start-up from launch of the other build" <<<"$startup")
memory_new=$(value "resident memory after start-up" <<<"$startup")
memory_old=$(value "resident memory of the other build" <<<"$startup")

# Click to packet: each build three times, alternating; the median of their medians.
picks() {  # program, figure file prefix
    local out
    out=$("$1" 2>>"$log" || true)
    printf '%s\n' "$out" >>"$log"
    value "row pick" <<<"$out" >>"$2.rows"
    value "column pick" <<<"$out" >>"$2.columns"
}
for _ in 1 2 3; do
    picks "$new/bench_pick" "$figures/new"
    picks "$old/bench_pick" "$figures/old"
done

status=0
row() {  # figure, unit, this build, the other, bar on the ratio (empty: none)
    local ratio met=""
    if [ -z "$3" ] || [ -z "$4" ]; then
        echo "no figure for $1: see $log" >&2
        status=1
        return
    fi
    # Figures are printed to 0.001: a ratio of two below 0.01 says nothing.
    ratio=$(awk -v a="$3" -v b="$4" \
        'BEGIN { if (a < 0.01 || b < 0.01) print "n/a"; else printf "%.3f", a / b }')
    if [ -n "$5" ]; then
        met=met
        awk -v r="$ratio" -v bar="$5" 'BEGIN { exit !(r != "n/a" && r <= bar) }' ||
            { met=MISSED status=1; }
    fi
    printf '| %-40s | %10.3f %-3s | %10.3f %-3s | %7s | %-7s | %-6s |\n' "$1" "$3" "$2" "$4" "$2" \
        "$ratio" "${5:+<= $5}" "$met"
}
printf '| %-40s | %14s | %14s | %7s | %-7s | %-6s |\n' figure "this build" "$short" ratio bar met
printf '|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..42})" "$(printf -- '-%.0s' {1..16})" \
    "$(printf -- '-%.0s' {1..16})" "$(printf -- '-%.0s' {1..9})" "$(printf -- '-%.0s' {1..9})" \
    "$(printf -- '-%.0s' {1..8})"
row "start-up, launch to first painted window" ms "$launch_new" "$launch_old" 1.10
row "resident memory after start-up" MiB "$memory_new" "$memory_old" 1.10
row "row pick, grid click to its packet" ms "$(median <"$figures/new.rows")" \
    "$(median <"$figures/old.rows")" ""
row "column pick, grid click to its packet" ms "$(median <"$figures/new.columns")" \
    "$(median <"$figures/old.columns")" ""
exit $status
