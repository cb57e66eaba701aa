#!/usr/bin/env bash
# Prints the benchmark figures (not tests): tree removal against "rd /s /q", and the
# wininit.ini insertion at 64 KiB, 1 MiB and 16 MiB.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-machine.sh
scripts/build.sh win64
/usr/bin/python3 tools/bench.py
