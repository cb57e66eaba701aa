#!/usr/bin/env bash
# Runs the Wine tests on the shipping build under 32-bit Wine. The road, the first that works:
# natively where this kernel runs 32-bit programs; else through QEMU's user-mode emulator in
# a user namespace of its own (both run every Wine test); else in a QEMU guest (the subset
# marked target32, as a whole emulated computer is slow; --all there runs every one); else a
# skip. --user or --guest forces that road; other arguments go to pytest.
set -euo pipefail
cd "$(dirname "$0")/../.."
road=native
case "${1:-}" in
    --user|--guest) road=${1#--}; shift ;;
esac
if [ "$(id -u)" -ne 0 ]; then
    echo "i686: skipped (the 32-bit runs need root for their mount namespace)"
    exit 0
fi

# Whether an enabled binfmt_misc handler of the machine takes i386 programs (an emulator).
i386_handler() {
    local f
    for f in /proc/sys/fs/binfmt_misc/*; do
        grep -qsx enabled "$f" && grep -qsx 'magic 7f454c4601010100000000000000000002000300' "$f" &&
            return 0
    done
    return 1
}

start=$(date +%s)
tools/target32/wine32.sh
if [ $road = native ]; then
    mkdir -p build/target32
    as --32 -o build/target32/probe.o tools/target32/probe.s
    ld -m elf_i386 -static -o build/target32/probe build/target32/probe.o
    if ! build/target32/probe 2>/dev/null; then
        road=user
    elif i386_handler; then
        # The probe ran, but through a handler the machine has for i386 programs: an emulator
        # of unknown age, not the kernel.
        echo "i686: i386 programs go to a binfmt_misc handler here; taking the emulator of our own"
        road=user
    elif ! tools/target32/inside.sh --check >/dev/null 2>&1; then
        echo "i686: 32-bit programs run here, but not 32-bit Wine over /usr; trying the emulator"
        road=user
    fi
fi
if [ $road = user ]; then
    # The road check: 32-bit Wine's loader starts through the emulator in the namespace.
    if ! why=$(tools/target32/qemu-user.sh 2>&1); then
        echo "i686: no user-mode emulator ($why); taking the guest"
        road=guest
    elif ! why=$(tools/target32/user.sh --check 2>&1); then
        echo "i686: the user-mode emulator does not start 32-bit Wine here ($why); taking the guest"
        road=guest
    else
        echo "i686: $why through $(build/target32/qemu/qemu-i386 --version | head -1)"
    fi
fi
if [ $road = guest ] && ! scripts/setup-machine.sh qemu-system-x86 busybox-static cpio kmod; then
    echo "i686: skipped (this kernel runs no 32-bit programs and QEMU is not to be had)"
    exit 0
fi
echo "i686: the $road road"
set +e
case $road in
    native) tools/target32/inside.sh "$@" ;;
    user) tools/target32/user.sh "$@" ;;
    guest) tools/target32/guest.sh "$@" ;;
esac
rc=$?
set -e
echo "i686: $road road, $(($(date +%s) - start)) s in all, exit code $rc"
exit $rc
