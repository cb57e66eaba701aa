#!/usr/bin/env bash
# Runs the Wine tests on the shipping build under 32-bit Wine. The road: natively where this
# kernel runs 32-bit programs (every Wine test), else in a QEMU guest (the subset marked
# target32, as emulation is slow; --all there runs every one), else a skip. --guest forces
# the guest road; other arguments go to pytest.
set -euo pipefail
cd "$(dirname "$0")/../.."
road=native
if [ "${1:-}" = "--guest" ]; then
    road=guest
    shift
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "i686: skipped (the 32-bit runs need root for their mount namespace)"
    exit 0
fi

start=$(date +%s)
tools/target32/wine32.sh
if [ $road = native ]; then
    mkdir -p build/target32
    as --32 -o build/target32/probe.o tools/target32/probe.s
    ld -m elf_i386 -static -o build/target32/probe build/target32/probe.o
    if ! build/target32/probe 2>/dev/null; then
        road=guest
    elif ! tools/target32/inside.sh --check >/dev/null 2>&1; then
        echo "i686: 32-bit programs run here, but not 32-bit Wine over /usr; taking the guest"
        road=guest
    fi
fi
if [ $road = guest ] && ! scripts/setup-machine.sh qemu-system-x86 busybox-static cpio kmod; then
    echo "i686: skipped (this kernel runs no 32-bit programs and QEMU is not to be had)"
    exit 0
fi
echo "i686: the $road road"
if [ $road = native ]; then
    set +e; tools/target32/inside.sh "$@"; rc=$?; set -e
else
    set +e; tools/target32/guest.sh "$@"; rc=$?; set -e
fi
echo "i686: $road road, $(($(date +%s) - start)) s in all, exit code $rc"
exit $rc
