#!/usr/bin/env bash
# Builds the shipping exe and packs it with the user's readme into
# build/release/pdclean-<version>.zip; prints the zip's path, size and SHA-256.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-machine.sh
scripts/build.sh win32
/usr/bin/python3 tools/release.py
