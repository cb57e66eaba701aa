#!/usr/bin/env bash
# Runs tools/target32/inside.sh (arguments passed on) with 32-bit programs started through
# QEMU's user-mode emulator: a user namespace of its own mounts a binfmt_misc of its own
# (Linux 6.7 and later) and registers i386 ELF programs there, so nothing is registered for
# the rest of the machine and it all ends with the namespace.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ -z "${PDCLEAN_IN_USERNS:-}" ]; then
    PDCLEAN_IN_USERNS=1 exec unshare --user --map-root-user --mount --propagation private "$0" "$@"
fi
qemu=$PWD/build/target32/qemu/qemu-i386-binfmt-P
mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
# i386 executables and shared objects (type 2 or 3, machine 3). O: the emulator reads the
# program from the open file; P: it gets the program's own argv[0]; F: the emulator is opened
# now, so the mount namespaces made later need not see its path.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf '%s' ":pdclean-i386:M::$magic:$mask:$qemu:OPF" > /proc/sys/fs/binfmt_misc/register
# Tests that scale their work by the road know which it is.
export PDCLEAN_ROAD=user
exec tools/target32/inside.sh "$@"
