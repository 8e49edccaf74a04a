# Shared by scripts/wine32 and scripts/wine64: runs a Windows program in one
# of several minimal Wine prefixes under build/, one program per prefix at a
# time, each prefix with its own server and registry. Programs run side by
# side without crossing each other's registry keys (the tests point Valve's
# library at a Steam client there), and none waits on another's wineboot.
#
# The sourcing script sets:
#   WINE_SLOT_NAME     prefix folder name under build/ (wine32-prefix, ...)
#   WINE_SLOT_ARCH     win32 or win64
#   WINE_SLOT_DLLS     folder of Wine's Windows DLLs for that architecture
#   WINE_SLOT_LOADER   array: the command that runs a program (may be qemu)

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEDEBUG="${WINEDEBUG:--all}"

# One prefix per processor.
slots="${STEAMBRIDGE_WINE_SLOTS:-$(nproc 2>/dev/null || echo 1)}"
[ "$slots" -ge 1 ] 2>/dev/null || slots=1

prefix_of() {
    if [ "$1" -eq 0 ]; then
        echo "$root/build/$WINE_SLOT_NAME"
    else
        echo "$root/build/$WINE_SLOT_NAME-$1"
    fi
}

# No prefix update (wineboot takes minutes under qemu, and the tests need
# none of it): a prefix is just the drives and the system DLLs. Made under a
# lock, its timestamp last: two programs starting at once in a new prefix
# must not rewrite the registry file while the first one's server reads it.
make_prefix() {
    local prefix="$1" lock
    [ -f "$prefix/.update-timestamp" ] && return 0
    mkdir -p "$prefix/dosdevices" "$prefix/drive_c/windows/system32"
    exec {lock}>"$prefix/.make-lock"
    flock "$lock"
    if [ ! -f "$prefix/.update-timestamp" ]; then
        ln -sfn ../drive_c "$prefix/dosdevices/c:"
        ln -sfn / "$prefix/dosdevices/z:"
        ln -sf "$WINE_SLOT_DLLS"/* "$prefix/drive_c/windows/system32/"
        # The registry's architecture from the start, even when a persistent
        # server opens the prefix before any program has run in it.
        printf 'WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=%s\n' \
            "$WINE_SLOT_ARCH" > "$prefix/system.reg"
        echo disable > "$prefix/.update-timestamp"
    fi
    exec {lock}>&-
}

# Each prefix's server, kept running so each program starts quickly.
each_server() {
    local slot
    for ((slot = 0; slot < slots; slot++)); do
        make_prefix "$(prefix_of "$slot")"
        WINEPREFIX="$(prefix_of "$slot")" wineserver "$1" >/dev/null 2>&1 || true
    done
}

# --prefix, --start-servers and --stop-servers; returns for anything else.
handle_slot_command() {
    case "${1:-}" in
        --prefix) make_prefix "$(prefix_of 0)"; prefix_of 0; exit 0 ;;
        --start-servers) each_server -p; exit 0 ;;
        --stop-servers) each_server -k; exit 0 ;;
    esac
}

# Wine's loader is linked at 0x7d000000 and, without Wine's preloader (Debian
# ships none), the kernel starts its heap anywhere in the gigabyte above it.
# About one process in two thousand then finds its heap where Wine must map
# the shared user data (0x7ffe0000) and ends at once with status 1 ("failed
# to map the shared user data", hidden by WINEDEBUG=-all): a test's launcher
# or game gone without a word. Without address randomisation (inherited by
# the processes Wine starts) the heap starts right after the loader.
wine_fixed_addresses=()
if setarch -R true 2>/dev/null; then
    wine_fixed_addresses=(setarch -R)
fi

# The prefix needs no wineboot; only the console host may start. A crashing
# program ends with its status instead of waiting in the debugger that Wine
# would start for it.
export WINEARCH="$WINE_SLOT_ARCH"
export WINEDLLOVERRIDES="wineboot.exe=d;winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

# Runs the program in a prefix: the first free one, else waits for its own.
# The lock is held by this script, not the program: a server or console host
# that the program starts must not keep it.
run_in_prefix() {
    local prefix lock status=0
    prefix="$(prefix_of "$1")"
    make_prefix "$prefix"
    exec {lock}>"$prefix/.run-lock"
    if [ "$2" = wait ]; then
        flock "$lock"
    elif ! flock -n "$lock"; then
        exec {lock}>&-
        return 1
    fi
    export WINEPREFIX="$prefix"
    "${wine_fixed_addresses[@]}" "${WINE_SLOT_LOADER[@]}" "${@:3}" {lock}>&- || status=$?
    exit "$status"
}

run_in_free_prefix() {
    local slot
    # A test that needs a registry of its own names its prefix; nothing else uses it.
    if [ -n "${STEAMBRIDGE_WINE_PREFIX:-}" ]; then
        make_prefix "$STEAMBRIDGE_WINE_PREFIX"
        export WINEPREFIX="$STEAMBRIDGE_WINE_PREFIX"
        exec "${wine_fixed_addresses[@]}" "${WINE_SLOT_LOADER[@]}" "$@"
    fi
    for ((slot = 0; slot < slots; slot++)); do
        run_in_prefix "$slot" try "$@" || true
    done
    run_in_prefix $(($$ % slots)) wait "$@"
}
