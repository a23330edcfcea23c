#!/usr/bin/env bash
# The long sessions (CTest label "soak", left out of scripts/test.sh), on the plain default
# build: 100 downloads through the window and 200 through lumotrix-cli in batches over eight
# controllers, against simulated controllers with a fault on every third download. Each prints
# its open files and how much its resident memory grew.
#   scripts/soak.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target tst_soak_window tst_soak_cli
ctest --preset soak
