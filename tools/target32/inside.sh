#!/usr/bin/env bash
# Runs the Wine tests (or the subset marked target32) against build/win32 under 32-bit Wine,
# with the unpacked 32-bit Wine laid over /usr in a private mount namespace. Needs a kernel
# that runs 32-bit programs: the machine's own, or the guest's.
set -euo pipefail
cd "$(dirname "$0")/../.."
tree=$PWD/build/target32/wine32
if [ -z "${PDCLEAN_IN_NAMESPACE:-}" ]; then
    PDCLEAN_IN_NAMESPACE=1 exec unshare --mount --propagation private "$0" "$@"
fi
mount -t overlay overlay -o lowerdir="$tree/usr:/usr" /usr
if [ "${1:-}" = "--check" ]; then
    exec /usr/lib/wine/wine --version  # the 32-bit loader starts: this road works here
fi
# --marked: only the tests marked target32 (the guest's subset, as emulation is slow);
# --all, the default: every one.
marked=()
case "${1:-}" in
    --marked) marked=(-m target32); shift ;;
    --all) shift ;;
esac
export PDCLEAN_TARGET=i686
exec /usr/bin/python3 -m pytest -v -p no:cacheprovider --durations=0 "${marked[@]}" tests/wine "$@"
