#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), checks it with lintian, unpacks it into an
# empty folder with dpkg -x, and runs the programs from there:
#   - lintian reports no error (its full report is printed);
#   - the control fields: name, version from the project, the Qt libraries found by
#     dpkg-shlibdeps, the CJK font; apt can resolve every dependency from the archive;
#   - every file the package promises is there: stripped programs and camera module, the menu
#     entry (validated
#     with desktop-file-validate, its Exec and Icon found in the package), the icon at each
#     size, the gzipped manual pages, the copyright;
#   - lumotrix-sim --help works, and lumotrix-sim --link makes its device link and removes it
#     on TERM; lumotrix-cli --help works, and lumotrix-cli read-address reads the screen address
#     from that simulator;
#   - lumotrix starts offscreen, is still running after 2 s, and has printed no fatal error.
# Prints one line per check and exits non-zero when any failed. Needs no root once the tools are
# installed. With a path, it checks that package instead of building one:
#   scripts/package-test.sh [PACKAGE.deb]
set -euo pipefail
given="${1:+$(realpath "$1")}"
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev file gzip lintian desktop-file-utils

passes=0
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }

if [ -n "$given" ]; then
    deb="$given"
else
    deb=$(scripts/package.sh | tail -n 1)
fi
[ -f "$deb" ] || { echo "FAIL: no package at '$deb'" >&2; exit 1; }
echo "package: $deb"

work=$(mktemp -d "${TMPDIR:-/tmp}/lumotrix-package-test.XXXXXX")
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

check_lintian() {
    echo "== lintian"
    if lintian --fail-on error --display-level '>=pedantic' "$deb" | tee "$work/lintian.txt"; then
        pass "lintian: no error"
    else
        fail "lintian reports errors (above)"
    fi
}

check_control() {
    echo "== control fields"
    local version depends
    version=$(sed -n 's/^project(Lumotrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    [ "$(dpkg-deb -f "$deb" Package)" = lumotrix ] && pass "Package: lumotrix" \
        || fail "Package is $(dpkg-deb -f "$deb" Package)"
    [[ "$(dpkg-deb -f "$deb" Version)" == "$version"-* ]] && pass "Version follows $version" \
        || fail "Version $(dpkg-deb -f "$deb" Version) does not follow the project's $version"
    depends=$(dpkg-deb -f "$deb" Depends)
    for want in 'libqt6widgets6' 'libqt6serialport6' 'libqt6multimedia6' 'libc6' \
        'fonts-noto-cjk | fonts-wqy-zenhei' 'gstreamer1.0-plugins-good'; do
        grep -qF "$want" <<<"$depends" && pass "Depends on $want" || fail "Depends lacks $want: $depends"
    done
    if compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null; then
        if apt-get -s -qq install "$(realpath "$deb")" >"$work/apt.txt" 2>&1; then
            pass "apt resolves every dependency"
        else
            cat "$work/apt.txt" >&2
            fail "apt cannot install the package's dependencies"
        fi
    else
        echo "skip: no apt package lists (apt-get update) to resolve the dependencies against"
    fi
}

root="$work/root"
check_files() {
    echo "== files"
    dpkg -x "$deb" "$root"
    local f size
    for f in usr/bin/lumotrix usr/bin/lumotrix-sim usr/bin/lumotrix-cli; do
        if file -b "$root/$f" | grep -q '^ELF .*, stripped$'; then pass "$f: stripped program"
        else fail "$f: $(file -b "$root/$f" 2>&1)"; fi
    done
    for size in 16 32 48 64 128 256; do
        f="usr/share/icons/hicolor/${size}x${size}/apps/lumotrix.png"
        if file -b "$root/$f" 2>&1 | grep -q "^PNG image data, $size x $size,"; then pass "$f"
        else fail "$f: $(file -b "$root/$f" 2>&1)"; fi
    done
    f=usr/share/icons/hicolor/scalable/apps/lumotrix.svg
    grep -q '<svg ' "$root/$f" 2>/dev/null && pass "$f" || fail "$f missing or not SVG"
    for f in lumotrix lumotrix-sim lumotrix-cli; do
        f="usr/share/man/man1/$f.1.gz"
        if gzip -t "$root/$f" 2>/dev/null && zcat "$root/$f" | grep -q '^\.SH NAME'; then pass "$f"
        else fail "$f missing or not a gzipped manual page"; fi
    done
    f=usr/lib/lumotrix/lumotrix-camera-local.so
    if file -b "$root/$f" 2>&1 | grep -q '^ELF .*shared object.*, stripped$'; then pass "$f: the camera module"
    else fail "$f: $(file -b "$root/$f" 2>&1)"; fi
    f=usr/share/doc/lumotrix/copyright
    grep -q '^License: Expat' "$root/$f" 2>/dev/null && pass "$f" || fail "$f missing"
    if ldd "$root"/usr/bin/lumotrix* | grep -q 'not found'; then
        fail "libraries not found: $(ldd "$root"/usr/bin/lumotrix* | grep 'not found')"
    else
        pass "every library the programs link is found"
    fi
}

check_desktop_entry() {
    echo "== menu entry"
    local entry="$root/usr/share/applications/lumotrix.desktop" exec icon
    [ -f "$entry" ] || { fail "no menu entry"; return; }
    desktop-file-validate "$entry" && pass "desktop-file-validate" || fail "desktop-file-validate"
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$root/usr/bin/$exec" ] && pass "Exec=$exec is in the package" || fail "Exec=$exec not in /usr/bin"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$root/usr/share/icons/hicolor/48x48/apps/$icon.png" ] && pass "Icon=$icon is in the package" \
        || fail "Icon=$icon has no 48x48 picture"
    grep -q '^GenericName\[zh_CN\]=.*单元板' "$entry" && pass "Chinese generic name" \
        || fail "no Chinese generic name"
}

check_simulator() {
    echo "== lumotrix-sim and lumotrix-cli"
    local sim="$root/usr/bin/lumotrix-sim" link="$work/com1"
    if "$sim" --help >"$work/sim-help.txt" 2>&1 && grep -q -- '--link <path>' "$work/sim-help.txt"; then
        pass "lumotrix-sim --help"
    else
        cat "$work/sim-help.txt" >&2
        fail "lumotrix-sim --help"
    fi
    "$sim" --link "$link" >"$work/sim.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
    if [ -L "$link" ] && [ -c "$(readlink -f "$link")" ]; then
        pass "lumotrix-sim made its device link"
    else
        fail "lumotrix-sim made no device link: $(cat "$work/sim.log")"
    fi
    check_cli "$link"
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ ! -e "$link" ] && [ ! -L "$link" ] && pass "lumotrix-sim removed its link on TERM" \
        || fail "lumotrix-sim left its link behind"
}

# The installed lumotrix-cli asks the installed simulator on PORT for its screen address.
check_cli() {
    local cli="$root/usr/bin/lumotrix-cli" port="$1"
    if "$cli" --help 2>&1 | grep -q '^Usage: lumotrix-cli'; then
        pass "lumotrix-cli --help"
    else
        fail "lumotrix-cli --help"
    fi
    if "$cli" read-address --port "$port" >"$work/cli.txt" 2>&1 \
        && grep -Eq '^screen [0-9]+$' "$work/cli.txt" \
        && grep -Eq '^ip [0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$' "$work/cli.txt"; then
        pass "lumotrix-cli read-address from lumotrix-sim: $(tr '\n' ' ' <"$work/cli.txt")"
    else
        fail "lumotrix-cli read-address from lumotrix-sim: $(cat "$work/cli.txt")"
    fi
}

check_window() {
    echo "== lumotrix (offscreen)"
    QT_QPA_PLATFORM=offscreen "$root/usr/bin/lumotrix" >"$work/window.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    sleep 2
    if kill -0 "$pid" 2>/dev/null; then
        pass "lumotrix is running after 2 s"
    else
        wait "$pid" && status=0 || status=$?
        fail "lumotrix ended within 2 s (exit status $status)"
    fi
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -s "$work/window.log" ] && { echo "its output:"; sed 's/^/  /' "$work/window.log"; }
    if grep -Eiq 'fatal|could not (load|find) the qt platform plugin|error while loading shared|segmentation|abort' \
        "$work/window.log"; then
        fail "lumotrix printed a fatal error"
    else
        pass "lumotrix printed no fatal error"
    fi
}

check_lintian
check_control
check_files
check_desktop_entry
check_simulator
check_window

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
