#!/usr/bin/env bash
# In the guest, on the host's root under a tmpfs overlay: its own /dev, /proc and /run, none
# of the host's X and Wine sockets, the subset, and its exit code handed out.
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
# /tmp stays the host's (the repository may live there), but its X and Wine sockets and
# locks are the host's processes': gone from the guest's view (the removal stays in the
# overlay's tmpfs layer, the host keeps them).
rm -rf /tmp/.X11-unix /tmp/.X*-lock /tmp/.wine-*
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb
cd "$PDREPO"
echo "guest: up after $(cut -d' ' -f1 /proc/uptime) s"
mapfile -t args < /mnt/results/args
# Tests that scale their work by the road (the generated worlds) take less here.
export PDCLEAN_ROAD=guest
# The logs reach the host through the results folder.
export PDCLEAN_RUN_LOG=/mnt/results/runs.log
export PDCLEAN_STRAGGLER_LOG=/mnt/results/stragglers.log
# The marked subset, unless asked for all (--all).
if [ "${args[0]:-}" = "--all" ]; then
    tools/target32/inside.sh "${args[@]}"
else
    tools/target32/inside.sh --marked "${args[@]}"
fi
echo $? > /mnt/results/rc
sync
echo 1 > /proc/sys/kernel/sysrq
echo o > /proc/sysrq-trigger
exec sleep 60 2>/dev/null  # the power-off is on its way
