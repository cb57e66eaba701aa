#!/usr/bin/env bash
# Unpacks QEMU's user-mode i386 emulator (8 or later; the release's own or its backports') into
# build/target32/qemu, for the kernels that run no 32-bit programs themselves. Fails, saying
# why, when no such emulator is to be had.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$PWD/build/target32/qemu
[ -f "$out/.complete" ] && exit 0

apt=$PWD/build/target32/qemu-apt
rm -rf "$out"
mkdir -p "$out"
. tools/target32/private-apt.sh
private_apt "$apt" amd64
. /etc/os-release
cat > "$apt/etc/sources.list.d/pdclean-backports.sources" <<SOURCES
Types: deb
URIs: http://deb.debian.org/debian
Suites: ${VERSION_CODENAME:?}-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
private_apt_update
# The newest version on offer: backports are not a candidate by default. 7.2 spends most of
# a Wine process's time in its own page bookkeeping, so nothing older than 8 will do.
version=$(apt-cache "${apt_opts[@]}" madison qemu-user | awk -F' *[|] *' '{print $2}' |
          sort -V | tail -1)
case "${version#*:}" in
    [0-7].*|"") echo "no QEMU 8 or later on offer (newest: ${version:-none})"; exit 1 ;;
esac
(cd "$apt" && apt-get "${apt_opts[@]}" download "qemu-user=$version" >/dev/null)
dpkg -x "$apt"/qemu-user_*.deb "$apt/tree"
# Its binaries are static; only the i386 one is kept.
mv "$apt/tree/usr/bin/qemu-i386" "$out/qemu-i386"
rm -rf "$apt"
# Debian's emulator takes the preserved argv that binfmt_misc's P flag hands it when its
# own name ends in -binfmt-P.
ln -s qemu-i386 "$out/qemu-i386-binfmt-P"
"$out/qemu-i386" --version >/dev/null  # it runs here
touch "$out/.complete"
