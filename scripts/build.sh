#!/usr/bin/env bash
# Configures and builds the given presets (default: all three).
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64 host)
for p in "${presets[@]}"; do
    cmake --preset "$p" >/dev/null
    cmake --build --preset "$p" -j "$(nproc)"
done
