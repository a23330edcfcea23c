#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, builds with the default preset, and runs
# cpack. The last line printed is the path of the .deb (in build/default/packages/).
# What the package holds: docs/packaging.md.
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) and file find the libraries the programs need; gzip packs the
# manual pages.
scripts/install-deps.sh dpkg-dev file gzip >&2
scripts/build.sh default >&2

out="$PWD/build/default/packages"
rm -f "$out"/lumotrix_*.deb
log=$(cd build/default && cpack -G DEB -B "$out" 2>&1) || { echo "$log" >&2; exit 1; }
echo "$log" >&2
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$log")
[ -f "$deb" ] || { echo "cpack made no package" >&2; exit 1; }
echo "$deb"
