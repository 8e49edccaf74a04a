# Shared by scripts/test and scripts/demo: installs what the build needs on a
# Debian machine, once, and prepares Wine.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT"

say() { printf '== %s\n' "$*"; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"
}

# ensure_packages PACKAGE...: installs the missing ones through apt-get.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [[ " ${missing[*]} " == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        say "enabling the i386 architecture for Wine's 32-bit half"
        as_root dpkg --add-architecture i386
    fi
    say "installing: ${missing[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake ninja-build g++ googletest
                g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
                wine wine64 wine32:i386)

# True when this kernel runs 32-bit x86 programs (some virtual machines are
# built without IA-32 support; then Wine cannot run 32-bit Windows code).
can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# A private Wine prefix under build/, with a persistent server so each test
# process starts in about a second instead of several.
start_wine() {
    export WINEPREFIX="$ROOT/build/wine-prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$ROOT/build"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "creating the Wine prefix in build/wine-prefix"
        /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    fi
    wineserver -p >/dev/null 2>&1 || true
    trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
}

configure_and_build() {
    local preset="$1"
    shift
    say "building the $preset preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" "$@"
}
