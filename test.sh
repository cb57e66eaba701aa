#!/usr/bin/env bash
# Runs every test: host tests under sanitizers, the shipping exe's static checks, the real
# program under Wine (the x86_64 build under wine64), then the shipping i686 build itself
# under 32-bit Wine (natively, through QEMU's user-mode emulator or in a QEMU guest; --user or
# --guest forces that road). --worlds N runs a soak of N fresh random worlds instead.
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
# A restart that finds processes of its prefix left after their server has ended logs them.
export PDCLEAN_STRAGGLER_LOG=$PWD/build/wine-stragglers.log
stragglers() {
    [ -s "$PDCLEAN_STRAGGLER_LOG" ] || return 0
    echo "restarts that had to kill processes their server left: $(wc -l < "$PDCLEAN_STRAGGLER_LOG")" \
         "(${PDCLEAN_STRAGGLER_LOG#$PWD/})"
}
counts() {
    runs_9x
    stragglers
}
trap counts EXIT
road=()
if [ "${1:-}" = "--worlds" ]; then
    # A soak: N fresh random worlds, walked by the x86_64 build under wine64.
    scripts/setup-machine.sh
    scripts/build.sh win64
    : > "$PDCLEAN_RUN_LOG"
    : > "$PDCLEAN_STRAGGLER_LOG"
    PDCLEAN_WORLDS="${2:?--worlds N}" /usr/bin/python3 -m pytest -q -p no:cacheprovider \
        tests/wine/test_worlds.py -k soak
    exit
fi
if [ "${1:-}" = "--guest" ] || [ "${1:-}" = "--user" ]; then
    road=("$1")
    shift
fi
began=$(date +%s)
scripts/setup-machine.sh
installed=$(date +%s)
scripts/build.sh
: > "$PDCLEAN_RUN_LOG"
: > "$PDCLEAN_STRAGGLER_LOG"
built=$(date +%s)
# The i686 run spends most of its time waiting on its emulated or paced programs, so it goes
# beside the rest; its output follows theirs.
i686_log=build/i686.log
setsid tools/target32/run.sh "${road[@]}" > "$i686_log" 2>&1 &
i686=$!
trap 'kill -- -$i686 2>/dev/null; counts' EXIT
set +e
ctest --preset host
host=$?
hosted=$(date +%s)
/usr/bin/python3 -m pytest -q -p no:cacheprovider tests "$@"
wine64=$?
tested=$(date +%s)
wait $i686
i686_rc=$?
set -e
trap counts EXIT
cat "$i686_log"
echo "times: apt $((installed - began)) s, builds $((built - installed)) s, host tests $((hosted - built)) s," \
     "wine64 $((tested - hosted)) s, i686 beside them $(($(date +%s) - built)) s," \
     "in all $(($(date +%s) - began)) s"
[ $host -eq 0 ] && [ $wine64 -eq 0 ] && [ $i686_rc -eq 0 ]
