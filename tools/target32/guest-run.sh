#!/usr/bin/env bash
# In the guest, on the host's root under a tmpfs overlay: a fresh /tmp, /dev and /proc (so
# the host's X and Wine sockets are not seen), the subset, and its exit code handed out.
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb
cd "$PDREPO"
echo "guest: up after $(cut -d' ' -f1 /proc/uptime) s"
mapfile -t args < /mnt/results/args
tools/target32/inside.sh "${args[@]}"
echo $? > /mnt/results/rc
sync
echo 1 > /proc/sys/kernel/sysrq
echo o > /proc/sysrq-trigger
sleep 60
