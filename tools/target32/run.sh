#!/usr/bin/env bash
# Runs the i686 subset of the Wine tests on the shipping build under 32-bit Wine. The road:
# natively where this kernel runs 32-bit programs, else in a QEMU guest, else a skip.
# --guest forces the guest road; other arguments go to pytest.
set -euo pipefail
cd "$(dirname "$0")/../.."
road=native
if [ "${1:-}" = "--guest" ]; then
    road=guest
    shift
fi
install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

mkdir -p build/target32
if [ $road = native ]; then
    as --32 -o build/target32/probe.o tools/target32/probe.s
    ld -m elf_i386 -static -o build/target32/probe build/target32/probe.o
    build/target32/probe 2>/dev/null || road=guest
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "i686 subset: skipped (the 32-bit runs need root for their mount namespace)"
    exit 0
fi
if [ $road = guest ] && ! install_missing qemu-system-x86 busybox-static cpio kmod; then
    echo "i686 subset: skipped (this kernel runs no 32-bit programs and QEMU is not to be had)"
    exit 0
fi

start=$(date +%s)
tools/target32/wine32.sh
if [ $road = native ] && ! tools/target32/inside.sh --check >/dev/null 2>&1; then
    echo "i686 subset: 32-bit programs run here, but not 32-bit Wine over /usr; taking the guest"
    road=guest
    install_missing qemu-system-x86 busybox-static cpio kmod
fi
echo "i686 subset: the $road road"
if [ $road = native ]; then
    set +e; tools/target32/inside.sh "$@"; rc=$?; set -e
else
    set +e; tools/target32/guest.sh "$@"; rc=$?; set -e
fi
echo "i686 subset: $road road, $(($(date +%s) - start)) s in all, exit code $rc"
exit $rc
