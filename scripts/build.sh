#!/usr/bin/env bash
# Configures and builds the project with the given CMake preset (default: "default"); every
# target, or only the targets named after the preset:
#   scripts/build.sh default lumotrix lumotrix-sim
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
shift || true
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}"
