#!/usr/bin/env bash
# Fresh machine to green: installs what is missing, builds, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default
export QT_QPA_PLATFORM=offscreen
ctest --preset default -j 2
