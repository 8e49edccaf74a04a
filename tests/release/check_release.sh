#!/usr/bin/env bash
# Uses the release bundles as a game developer would. The zip, for both
# Windows architectures:
# - builds examples/host.c with mingw-w64 against the zip's header and mingw
#   import library, and runs it under Wine beside the zip's DLL and the
#   simulated client library;
# - builds msvc_host.c for the MSVC target with clang, links it with lld-link
#   at its defaults (SafeSEH on for 32-bit) against the zip's .lib, and runs
#   it the same way; then once more through the zip's CMake package
#   (tests/install/msvc_consumer).
# The Linux tarball: examples/host.c built natively against its header and
# library, run beside the simulated libsteam_api.so.
# Both: a game's CMake build (tests/install/consumer) finds the bundle's
# CMake package and links steambridge::steambridge (mingw-w64 for both
# Windows architectures, run under Wine; natively), and on Linux a build
# through pkg-config; the launchers run games over the offline clients.
# Needs the win32, win64 and linux presets built (their 1.63 stages hold the
# simulator), in build/<preset> or <STEAMBRIDGE_BUILD_ROOT>/<preset>. Usage:
#   tests/release/check_release.sh dist/steambridge-<v>-windows.zip dist/steambridge-<v>-linux-x86_64.tar.gz
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
builds="$(cd "$root" && cd "${STEAMBRIDGE_BUILD_ROOT:-build}" && pwd)"
zip="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
work="$root/build/release-check"
rm -rf "$work" && mkdir -p "$work"
unzip -q "$zip" -d "$work"
release="$(find "$work" -mindepth 1 -maxdepth 1 -type d)"

failed=0
fail() {
    echo "FAILED: $*" >&2
    failed=1
}

# The release's version, from the bundle's name: the CMake package, the
# header and (on Windows) the DLL's version resource must all say it.
version="$(basename "$zip" | sed -n 's/^steambridge-\(.*\)-windows\.zip$/\1/p')"

# check_consumer NAME PREFIX RUNNER [CMAKE_ARGUMENTS...]: configures and builds
# tests/install/consumer against the CMake package in PREFIX, then runs it
# (through RUNNER, "" natively): it holds the header's version to the
# package's and the DLL's, and finds steamInit false with no Steam about.
check_consumer() {
    local what="$1" prefix="$2" runner="$3" build="$work/consumer-$1" output status=0
    shift 3
    echo "== $what: a CMake build with find_package(steambridge $version EXACT CONFIG REQUIRED)"
    if ! cmake -S "$root/tests/install/consumer" -B "$build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
        -DEXPECTED_VERSION="$version" "$@" >"$build.log" 2>&1 ||
        ! cmake --build "$build" >>"$build.log" 2>&1; then
        cat "$build.log"
        fail "$what: the consumer did not build against the CMake package"
        return
    fi
    local program="$build/consumer"
    [ -f "$program.exe" ] && program="$program.exe"
    output="$($runner "$program" </dev/null 2>&1)" || status=$?
    echo "$output"
    [ "$status" -eq 0 ] && grep -q "^steamInit answered false" <<<"$output" ||
        fail "$what: the consumer exited with $status"
}

# Every relative link of the bundle's documents leads to a file in it.
check_links() {
    local bundle="$1" document target
    while IFS= read -r -d '' document; do
        while IFS= read -r target; do
            [ -e "$(dirname "$document")/$target" ] ||
                fail "${document#"$bundle"/} links to $target, which the bundle lacks"
        done < <(grep -o ']([^)#]*' "$document" | sed 's/^](//' | grep -Ev '^$|^[a-z]+:' || true)
    done < <(find "$bundle" -name '*.md' -print0)
}

# Neither bundle may carry the test builds' controls.
check_no_test_controls() {
    if grep -rlq SteamSim_ "$1"; then
        fail "$(grep -rl SteamSim_ "$1" | head -n 1) carries the simulator's test controls"
    fi
}

# check_architecture FOLDER DLL_BASE MINGW_PREFIX LLVM_MACHINE CLANG_TARGET WINE PRESET KERNEL32_EXPORTS...
check_architecture() {
    local folder="$1" base="$2" mingw="$3" machine="$4" target="$5" wine="$6" preset="$7"
    shift 7
    local run="$work/run-$folder"
    mkdir -p "$run"
    cp "$release/$folder/$base.dll" "$builds/$preset/stage/1.63/"steam_api*.dll "$run/"

    echo "== $folder: examples/host.c, built by mingw-w64"
    "$mingw-gcc-posix" -std=c11 -Wall -Wextra -Werror -pedantic -O2 -I"$release/include" \
        "$release/examples/host.c" -L"$release/$folder" -l"$base" -o "$run/example_host.exe"
    local output status=0
    output="$("$root/scripts/$wine" "$run/example_host.exe" </dev/null 2>&1)" || status=$?
    echo "$output"
    [ "$status" -eq 0 ] || fail "$folder example host exited with $status"
    grep -q '^achieved *yes' <<<"$output" || fail "$folder example host did not unlock the achievement"

    echo "== $folder: a C host for the MSVC target, linked by lld-link at its defaults"
    # A system import library in the same short-import form as ours: MSVC's
    # own kernel32.lib is not on this machine.
    printf 'LIBRARY kernel32.dll\nEXPORTS\n' > "$run/kernel32.def"
    printf '    %s\n' "$@" >> "$run/kernel32.def"
    llvm-dlltool -m "$machine" -k -d "$run/kernel32.def" -l "$run/kernel32.lib"
    clang --target="$target" -ffreestanding -O2 -Wall -Wextra -Werror -I"$release/include" \
        -c "$root/tests/release/msvc_host.c" -o "$run/msvc_host.obj"
    lld-link /nologo /entry:mainCRTStartup /subsystem:console /nodefaultlib \
        "$run/msvc_host.obj" "$release/$folder/$base.lib" "$run/kernel32.lib" \
        /out:"$run/msvc_host.exe"
    status=0
    "$root/scripts/$wine" "$run/msvc_host.exe" </dev/null >/dev/null 2>&1 || status=$?
    if [ "$status" -eq 0 ]; then
        echo "msvc_host.exe: every step passed"
    else
        fail "$folder MSVC host failed at step $status (tests/release/msvc_host.c)"
    fi

    echo "== $folder: the same host through the CMake package, which gives it the MSVC import library"
    local build="$work/msvc-consumer-$folder"
    if ! cmake -S "$root/tests/install/msvc_consumer" -B "$build" -G Ninja -DCMAKE_SYSTEM_NAME=Windows \
        -DCMAKE_C_COMPILER=clang -DCMAKE_C_COMPILER_TARGET="$target" \
        -DCMAKE_TRY_COMPILE_TARGET_TYPE=STATIC_LIBRARY -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_PREFIX_PATH="$release" -DKERNEL32="$run/kernel32.lib" >"$build.log" 2>&1 ||
        ! cmake --build "$build" >>"$build.log" 2>&1; then
        cat "$build.log"
        fail "$folder: the MSVC-target host did not build through the CMake package"
        return
    fi
    cp "$build/msvc_host.exe" "$run/cmake_msvc_host.exe"
    status=0
    "$root/scripts/$wine" "$run/cmake_msvc_host.exe" </dev/null >/dev/null 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "$folder CMake-built MSVC host failed at step $status (tests/release/msvc_host.c)"
}

check_architecture x86 steambridge i686-w64-mingw32 i386 i686-pc-windows-msvc wine32 win32 \
    ExitProcess@4 Sleep@4

check_architecture x64 steambridge64 x86_64-w64-mingw32 i386:x86-64 x86_64-pc-windows-msvc wine64 win64 \
    ExitProcess Sleep

for arch in i686:wine32 x86_64:wine64; do
    check_consumer "windows-${arch%%:*}" "$release" "$root/scripts/${arch#*:}" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw.cmake" -DSTEAMBRIDGE_MINGW_ARCH="${arch%%:*}" \
        -DCMAKE_BUILD_TYPE=MinSizeRel
done
check_links "$release"
check_no_test_controls "$release"

# expect_exit STATUS DESCRIPTION COMMAND...: runs COMMAND, and the check fails
# unless it exits with STATUS.
expect_exit() {
    local want="$1" what="$2" status=0
    shift 2
    echo "== $what" >&2
    "$@" </dev/null || status=$?
    [ "$status" -eq "$want" ] || fail "$what: exit $status, not $want"
}

# host_scenario FILE SCHEMA ACHIEVEMENT: a scenario of our game's schema that
# expects ACHIEVEMENT unlocked.
host_scenario() {
    printf '{"include": ["%s"], "expect": {"achievements": ["%s"]}}\n' "${2//\\//}" "$3" >"$1"
}

# The zip's launcher under 64-bit Wine, in a prefix of its own: the example
# host and the flat-API game beside Valve's newest steam_api64.dll, and the
# registry key as it was afterwards.
win64_stage="$(ls -d "$builds"/win64/stage/real-1.* 2>/dev/null | sort -V | tail -n 1)"
if [ -n "$win64_stage" ]; then
    game="$work/offline-game-x64"
    mkdir -p "$game"
    cp "$work/run-x64/example_host.exe" "$release/x64/steambridge64.dll" "$win64_stage/steam_api64.dll" \
        "$win64_stage/flat_game.exe" "$game/"
    export STEAMBRIDGE_WINE_PREFIX="$work/wine-prefix"
    winpath() { echo "Z:$1"; }
    # expect_windows_run STATUS DESCRIPTION ARGUMENTS...: the zip's launcher's exit status.
    expect_windows_run() {
        expect_exit "$1" "offline x64: $2" "$root/scripts/wine64" "$release/offline/steambridge-offline.exe" "${@:3}"
    }
    scenarios="$root/tests/offline/scenarios"
    # The example host unlocks the first achievement and no other.
    host_scenario "$work/host-x64-holds.json" "$(winpath "$release/offline/examples/game_schema.json")" ACH_LEVELVETERAN
    host_scenario "$work/host-x64-fails.json" "$(winpath "$release/offline/examples/game_schema.json")" ACH_TREASURER
    expect_windows_run 0 "the example host, an expectation that holds" run --quiet \
        --scenario "$(winpath "$work/host-x64-holds.json")" -- "$(winpath "$game/example_host.exe")"
    expect_windows_run 101 "the example host, an expectation that fails" run --quiet \
        --scenario "$(winpath "$work/host-x64-fails.json")" -- "$(winpath "$game/example_host.exe")"
    expect_windows_run 0 "the example host, the fault tour" run --quiet \
        --scenario "$(winpath "$release/offline/examples/fault_tour.json")" -- "$(winpath "$game/example_host.exe")"
    expect_windows_run 0 "the flat game, an expectation that holds" run --quiet \
        --scenario "$(winpath "$scenarios/holds.json")" \
        -- "$(winpath "$game/flat_game.exe")" --achievement ACH_WIN --stat STAT_DISTANCE=120
    expect_windows_run 101 "the flat game, an expectation that fails" run --quiet \
        --scenario "$(winpath "$scenarios/fails.json")" \
        -- "$(winpath "$game/flat_game.exe")" --achievement ACH_WIN
    for pass in first second; do
        expect_windows_run 0 "the flat game, the $pass run on one state file" run --quiet \
            --scenario "$(winpath "$scenarios/holds.json")" --state "$(winpath "$work/state-x64.json")" \
            -- "$(winpath "$game/flat_game.exe")" --achievement ACH_WIN --stat STAT_DISTANCE=120 \
            >"$work/x64-$pass.txt"
    done
    grep -q "achievement ACH_WIN: unlocked" "$work/x64-second.txt" ||
        fail "offline x64: the second run did not start from the first run's unlock"
    expect_windows_run 0 "doctor on the game's folder, with a trial start" doctor "$(winpath "$game")" \
        >"$work/doctor-x64.txt"
    grep -q "^ok    trial start: Valve's steam_api64.dll started" "$work/doctor-x64.txt" ||
        fail "offline x64: the doctor's trial start did not start Valve's library"
    if "$root/scripts/wine64" reg query 'HKCU\Software\Valve\Steam\ActiveProcess' >/dev/null 2>&1; then
        fail "offline x64: the registry key was left behind"
    fi
    WINEPREFIX="$STEAMBRIDGE_WINE_PREFIX" wineserver -k >/dev/null 2>&1 || true
    unset STEAMBRIDGE_WINE_PREFIX
fi

tarball="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
tar -xzf "$tarball" -C "$work"
linux_release="$work/$(basename "$tarball" .tar.gz)"
run="$work/run-linux"
mkdir -p "$run"
cp "$linux_release/lib/libsteambridge.so" "$builds/linux/stage/1.63/libsteam_api.so" "$run/"
echo "== linux x86-64: examples/host.c, built by the system's C compiler"
cc -std=c11 -Wall -Wextra -Werror -pedantic -O2 -I"$linux_release/include" \
    "$linux_release/examples/host.c" -L"$linux_release/lib" -lsteambridge -Wl,-rpath,'$ORIGIN' \
    -o "$run/example_host"
status=0
output="$("$run/example_host" </dev/null 2>&1)" || status=$?
echo "$output"
[ "$status" -eq 0 ] || fail "linux example host exited with $status"
grep -q '^achieved *yes' <<<"$output" || fail "linux example host did not unlock the achievement"

check_consumer linux "$linux_release" "" -DCMAKE_BUILD_TYPE=Release
echo "== linux x86-64: a build through pkg-config"
pkg_config() { PKG_CONFIG_PATH="$linux_release/lib/pkgconfig" pkg-config "$@"; }
if [ "$(pkg_config --modversion steambridge)" != "$version" ]; then
    fail "steambridge.pc says version $(pkg_config --modversion steambridge), not $version"
fi
IFS=. read -r major minor patch <<<"$version"
# shellcheck disable=SC2046 # pkg-config's words are the compiler's arguments
cc -std=c11 -Wall -Wextra -Werror -O2 -DPACKAGE_MAJOR="$major" -DPACKAGE_MINOR="$minor" -DPACKAGE_PATCH="$patch" \
    "$root/tests/install/consumer/consumer.c" $(pkg_config --cflags --libs steambridge) \
    -Wl,-rpath,"$linux_release/lib" -o "$work/pkg_config_consumer"
status=0
output="$("$work/pkg_config_consumer" </dev/null 2>&1)" || status=$?
echo "$output"
[ "$status" -eq 0 ] && grep -q "^steamInit answered false" <<<"$output" ||
    fail "the pkg-config consumer exited with $status"
check_links "$linux_release"
check_no_test_controls "$linux_release"

# The offline Steam from the unpacked tarball, as a game developer runs it:
# the example host and the flat-API game beside Valve's newest libsteam_api.so.
offline="$linux_release/offline"
real_stage="$(ls -d "$builds"/linux/stage/real-1.* 2>/dev/null | sort -V | tail -n 1)"
if [ -n "$real_stage" ]; then
    game="$work/offline-game"
    mkdir -p "$game"
    cp "$run/example_host" "$linux_release/lib/libsteambridge.so" "$real_stage/libsteam_api.so" \
        "$real_stage/flat_game" "$game/"
    # expect_run STATUS DESCRIPTION ARGUMENTS...: steambridge-offline's exit status.
    expect_run() { expect_exit "$1" "offline: $2" "$offline/steambridge-offline" "${@:3}"; }
    scenarios="$root/tests/offline/scenarios"
    host_scenario "$work/host-fails.json" "$offline/examples/game_schema.json" ACH_TREASURER
    expect_run 101 "the example host, an expectation that fails" run --quiet \
        --scenario "$work/host-fails.json" -- "$game/example_host"
    expect_run 0 "the example host, our game's schema" run --quiet \
        --scenario "$offline/examples/game_schema.json" --report "$work/report.json" -- "$game/example_host"
    grep -q '"ACH_LEVELVETERAN": {[^}]*"unlocked": true' <(tr -d '\n' <"$work/report.json" | tr -s ' ') ||
        fail "offline: the report does not show the example host's unlock"
    expect_run 0 "the example host, the fault tour" run --quiet \
        --scenario "$offline/examples/fault_tour.json" -- "$game/example_host"
    expect_run 0 "the flat game, an expectation that holds" run --quiet \
        --scenario "$scenarios/holds.json" -- "$game/flat_game" --achievement ACH_WIN --stat STAT_DISTANCE=120
    expect_run 101 "the flat game, an expectation that fails" run --quiet \
        --scenario "$scenarios/fails.json" -- "$game/flat_game" --achievement ACH_WIN
    expect_run 11 "the flat game, a store refused (the game's own status)" run --quiet \
        --scenario "$scenarios/store-refused.json" -- "$game/flat_game" --achievement ACH_WIN
    for pass in first second; do
        expect_run 0 "the flat game, the $pass run on one state file" run --quiet \
            --scenario "$scenarios/holds.json" --state "$work/state.json" \
            -- "$game/flat_game" --achievement ACH_WIN --stat STAT_DISTANCE=120 >"$work/$pass.txt"
    done
    grep -q "achievement ACH_WIN: unlocked" "$work/second.txt" ||
        fail "offline: the second run did not start from the first run's unlock"
    expect_run 0 "doctor on the game's folder" doctor "$game"
else
    echo "== offline: no Valve libsteam_api.so staged (no SDK): the offline runs did not run"
fi

exit "$failed"
