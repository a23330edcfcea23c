#!/usr/bin/env bash
# Builds the project and prints one table of every benchmark figure, each with its bar and
# whether it is met. Notes of the runs go to build/default/bench.log.
#   scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default >/dev/null
export QT_QPA_PLATFORM=offscreen
log=build/default/bench.log
: >"$log"
printf '| %-52s | %14s | %-12s | %-5s |\n' "figure" "value" "bar" "met"
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..54})" "$(printf -- '-%.0s' {1..16})" \
    "$(printf -- '-%.0s' {1..14})" "$(printf -- '-%.0s' {1..7})"
status=0
for b in startup pages pick download batch camera camera_stream vision walk; do
    exe="build/default/bench/bench_$b"
    [ -x "$exe" ] || continue
    "$exe" 2>>"$log" || status=1
done
exit $status
