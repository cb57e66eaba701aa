#!/usr/bin/env bash
# Unpacks 32-bit Wine (wine32:i386 and the libraries it needs) into build/target32/wine32,
# a tree that only the 32-bit runs see, laid over /usr in their own mount namespace: the
# machine's packages and its dpkg state stay as they are.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$PWD/build/target32
tree=$out/wine32
[ -f "$tree/.complete" ] && exit 0

apt=$out/apt
rm -rf "$tree"
mkdir -p "$tree"
. tools/target32/private-apt.sh
private_apt "$apt" i386
private_apt_update
# The X libraries winex11.drv opens at run time are only recommended by libwine.
apt-get "${apt_opts[@]}" install -y --download-only --no-install-recommends wine32 \
    libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxcomposite1 libxinerama1 \
    libxxf86vm1 >/dev/null
for deb in "$apt"/cache/archives/*.deb; do
    dpkg -x "$deb" "$tree"
done
# Merged /usr: what the packages put in /lib, /bin and /sbin lives under usr/, so that the
# tree never hides the system's own /lib -> usr/lib links.
for d in lib lib32 bin sbin; do
    if [ -d "$tree/$d" ] && [ ! -L "$tree/$d" ]; then
        mkdir -p "$tree/usr/$d"
        cp -a "$tree/$d/." "$tree/usr/$d/"
        rm -rf "${tree:?}/$d"
    fi
done
# What libwine's maintainer script does on install: Wine's builtin zlib1.dll is MinGW's,
# marked as builtin in its DOS stub. Without it user32.dll does not load.
zlib=$tree/usr/i686-w64-mingw32/lib/zlib1.dll
{
    head -c 64 "$zlib"
    printf 'Wine builtin DLL'
    head -c 16 /dev/zero
    tail -c +97 "$zlib"
} > "$tree/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
rm -rf "$apt"
touch "$tree/.complete"
echo "32-bit Wine unpacked into ${tree#$PWD/} ($(du -sh "$tree" | cut -f1))"
