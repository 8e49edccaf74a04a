#!/usr/bin/env bash
# ensure_packages (scripts/lib/common.sh) against a stand-in apt-get: a mirror
# caught mid-sync is read again after a pause, and one that stays unreadable
# ends the run with one line that says so and what to do.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# The stand-ins: no package is installed; apt-get update fails the number
# of times in $work/update-failures, then succeeds; every call is logged.
mkdir "$work/bin"
cat > "$work/bin/apt-get" <<'STANDIN'
#!/bin/sh
echo "apt-get $*" >> "$WORK/calls"
if [ "$1" = update ]; then
    left=$(cat "$WORK/update-failures")
    [ "$left" -gt 0 ] || exit 0
    echo $((left - 1)) > "$WORK/update-failures"
    exit 100
fi
STANDIN
printf '#!/bin/sh\nexit 1\n' > "$work/bin/dpkg-query"
printf '#!/bin/sh\nexec "$@"\n' > "$work/bin/sudo"
chmod +x "$work/bin/"*

# install FAILURES: ensure_packages for one missing package; leaves its
# status, error output and the calls made in $work.
install() {
    echo "$1" > "$work/update-failures"
    : > "$work/calls"
    (
        export WORK="$work" PATH="$work/bin:$PATH" APT_RETRY_PAUSE=0
        source "$root/scripts/lib/common.sh"
        ensure_packages some-package >/dev/null
    ) 2> "$work/errors"
    echo $? > "$work/status"
}
count() { grep -c "^apt-get $1" "$work/calls"; }

install 2
[ "$(cat "$work/status")" -eq 0 ] || fail "two failed updates, then one that works: exit $(cat "$work/status")"
[ "$(count update)" -eq 3 ] || fail "two failed updates: $(count update) updates, not 3"
grep -q "^apt-get install .*some-package" "$work/calls" || fail "two failed updates: the package was not installed"

install 3
[ "$(cat "$work/status")" -ne 0 ] || fail "three failed updates: exit 0"
[ "$(count update)" -eq 3 ] || fail "three failed updates: $(count update) updates, not 3"
[ "$(count install)" -eq 0 ] || fail "three failed updates: an install was tried"
[ "$(wc -l < "$work/errors")" -eq 1 ] && grep -q "the package mirror could not be read.*some-package" "$work/errors" ||
    fail "three failed updates: the error output is not the one line: $(cat "$work/errors")"

[ "$failures" -eq 0 ] && echo "package installs: all cases hold"
exit $((failures > 0))
