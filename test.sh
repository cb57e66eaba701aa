#!/usr/bin/env bash
# Runs every test: host tests under sanitizers, the shipping exe's static checks, the real
# program under Wine (the x86_64 build under wine64), then the shipping i686 build itself
# under 32-bit Wine (natively or in a QEMU guest; --guest forces the guest). --worlds N runs a
# soak of N fresh random worlds instead.
set -euo pipefail
cd "$(dirname "$0")"
# Every run started as a 9x version logs where it scheduled its deletions at restart.
export PDCLEAN_RUN_LOG=$PWD/build/wine-9x-runs.log
runs_9x() {
    [ -f "$PDCLEAN_RUN_LOG" ] || return 0
    awk -F'\t' '{n[$1]++; w[$1] += $3 == "changed"; p[$1] += $4 == "changed"}
        END {for (t in n) printf "9x runs on %s: %d; they wrote to wininit.ini %d times, to NT'"'"'s list %d\n",
             t, n[t], w[t], p[t]}' "$PDCLEAN_RUN_LOG"
}
trap runs_9x EXIT
road=()
if [ "${1:-}" = "--worlds" ]; then
    # A soak: N fresh random worlds, walked by the x86_64 build under wine64.
    scripts/setup-machine.sh
    scripts/build.sh win64
    : > "$PDCLEAN_RUN_LOG"
    PDCLEAN_WORLDS="${2:?--worlds N}" /usr/bin/python3 -m pytest -q -p no:cacheprovider \
        tests/wine/test_worlds.py -k soak
    exit
fi
if [ "${1:-}" = "--guest" ]; then
    road=(--guest)
    shift
fi
scripts/setup-machine.sh
scripts/build.sh
: > "$PDCLEAN_RUN_LOG"
ctest --preset host
/usr/bin/python3 -m pytest -q -p no:cacheprovider tests "$@"
tools/target32/run.sh "${road[@]}"
