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
    # A mirror caught mid-sync fails for a while: try again after a pause.
    local try
    for try in 1 2 3; do
        as_root apt-get update -qq && break
        if [ "$try" -eq 3 ]; then
            echo "the package mirror could not be read (apt-get update failed 3 times, ${APT_RETRY_PAUSE:-10} s apart): check the network and /etc/apt/sources.list, or install ${missing[*]} by hand, then run again" >&2
            exit 1
        fi
        sleep "${APT_RETRY_PAUSE:-10}"
    done
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# qemu-user runs Wine's 32-bit half where the kernel cannot (scripts/wine32);
# wine64 brings the 64-bit wineserver that half then talks to.
BUILD_PACKAGES=(cmake ninja-build g++ googletest libgtest-dev nlohmann-json3-dev libpng-dev
                g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                wine wine32:i386 wine64 qemu-user python3)

# Valve's SDK (one folder per release) for the real-library suite: the
# STEAMWORKS_SDK environment variable, else ../shared/steamworks beside the
# checkout; empty when there is none.
find_steamworks_sdk() {
    local sdk="${STEAMWORKS_SDK:-$ROOT/../shared/steamworks}"
    if [ -d "$sdk" ]; then (cd "$sdk" && pwd); fi
}

# Private Wine prefixes under build/, each kept warm by a persistent server so
# each test process starts in seconds.
start_wine() {
    mkdir -p "$ROOT/build"
    export WINEDEBUG=-all
    "$ROOT/scripts/wine32" --start-servers
    "$ROOT/scripts/wine64" --start-servers
    trap '"$ROOT/scripts/wine32" --stop-servers; "$ROOT/scripts/wine64" --stop-servers' EXIT
}

# The version in CMakeLists.txt, which names the release bundle.
project_version() {
    sed -n 's/^project(steambridge VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt"
}
RELEASE_ZIP="dist/steambridge-$(project_version)-windows.zip"
RELEASE_TARBALL="dist/steambridge-$(project_version)-linux-x86_64.tar.gz"

# Extra cache settings for the next configure_and_build.
CONFIGURE_ARGS=()

configure_and_build() {
    local preset="$1"
    shift
    say "building the $preset preset"
    cmake --preset "$preset" "${CONFIGURE_ARGS[@]+"${CONFIGURE_ARGS[@]}"}" >/dev/null
    cmake --build --preset "$preset" "$@"
}
