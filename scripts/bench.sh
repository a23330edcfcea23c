#!/usr/bin/env bash
# Builds the project and runs every benchmark; each prints its figures against its bars.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default
export QT_QPA_PLATFORM=offscreen
status=0
for b in build/default/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" 2>/dev/null || status=1
    echo
done
exit $status
