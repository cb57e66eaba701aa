#!/usr/bin/env bash
# Boots a QEMU guest (software emulation) on Debian's own amd64 kernel over the host's root
# filesystem and runs the i686 subset there; returns the subset's exit code. Arguments go to
# pytest.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
out=$repo/build/target32/guest
mkdir -p "$out"

# Debian's current kernel, unpacked, not installed.
if [ ! -f "$out/vmlinux" ]; then
    rm -rf "$out/kernel"
    mkdir -p "$out/kernel"
    package=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-/ {print $2; exit}')
    (cd "$out" && apt-get -q -o APT::Sandbox::User=root download "$package" >/dev/null)
    dpkg -x "$out/$package"_*.deb "$out/kernel"
    rm -f "$out/$package"_*.deb
    /usr/bin/python3 tools/target32/vmlinux.py "$out"/kernel/boot/vmlinuz-* "$out/vmlinux.new"
    mv "$out/vmlinux.new" "$out/vmlinux"
fi

# A tiny initramfs: busybox, the modules of virtio, 9p and overlay in dependency order.
if [ ! -f "$out/initrd.cpio" ]; then
    modules=$(ls -d "$out"/kernel/lib/modules/*)
    # The package leaves the dependency list to its install; made here as depmod would.
    depmod -b "$out/kernel" "$(basename "$modules")"
    root=$out/initrd
    rm -rf "$root"
    mkdir -p "$root/bin" "$root/modules" "$root/proc" "$root/dev" "$root/sys"
    cp /bin/busybox "$root/bin/busybox"
    cp tools/target32/init "$root/init"
    for m in virtio_pci 9pnet_virtio 9p overlay; do
        # modules.dep lists a module's dependencies, the deepest last.
        line=$(grep -E "/$m\.ko:" "$modules/modules.dep")
        for dep in $(echo "${line#*:}" | tr ' ' '\n' | tac) "${line%%:*}"; do
            name=$(basename "$dep")
            grep -qx "$name" "$root/modules/order" 2>/dev/null && continue
            cp "$modules/$dep" "$root/modules/$name"
            echo "$name" >> "$root/modules/order"
        done
    done
    (cd "$root" && find . | cpio -o -H newc --quiet) > "$out/initrd.cpio"
fi

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
: > "$results/args"
[ $# -eq 0 ] || printf '%s\n' "$@" > "$results/args"
start=$(date +%s)
qemu-system-x86_64 -machine q35 -accel tcg,thread=multi -cpu max,-smap -smp "$(nproc)" \
    -m 6G -display none -monitor none -serial stdio -no-reboot -nodefaults \
    -kernel "$out/vmlinux" -initrd "$out/initrd.cpio" \
    -append "console=ttyS0 quiet loglevel=1 panic=-1 PDREPO=$repo" \
    -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
    -virtfs local,path="$results",mount_tag=results,security_model=none,multidevs=remap \
    </dev/null
echo "guest: $(($(date +%s) - start)) s from start to power-off"
if [ -n "${PDCLEAN_RUN_LOG:-}" ] && [ -f "$results/runs.log" ]; then
    cat "$results/runs.log" >> "$PDCLEAN_RUN_LOG"
fi
if [ -n "${PDCLEAN_STRAGGLER_LOG:-}" ] && [ -f "$results/stragglers.log" ]; then
    cat "$results/stragglers.log" >> "$PDCLEAN_STRAGGLER_LOG"
fi
[ -f "$results/rc" ] || { echo "guest: ended without a result"; exit 1; }
exit "$(cat "$results/rc")"
